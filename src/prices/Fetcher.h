#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CCurlLibrary;

// The program's only network access: fetches one HTTP or HTTPS address into Windows-1252 lines
// and, on request, leaves a copy of the response in the copy folder.
class CFetcher {
public:
    CFetcher();
    ~CFetcher();
    CFetcher(const CFetcher&) = delete;
    CFetcher& operator=(const CFetcher&) = delete;

    // Creates the session on first use, so that a run without downloads never starts the
    // network library. True when it could be created; without it every fetch fails.
    bool HasSession();

    // Fills lines with the body, one entry per line. True for a status from 200 to 299;
    // false otherwise, with m_nLastError 0 for an HTTP status and non-zero for any failure
    // to fetch (a CURLcode, or -1 for an unexpected failure). A copy is written to
    // m_strCopyFolder under saveName (made safe as a file name) when a response came in.
    bool FetchUrl(const std::string& url, std::vector<std::string>& lines,
                  const std::string* saveName);

    // The path that a copy named saveName gets; empty without a copy folder.
    std::string CopyPath(const std::string& saveName) const;

    // 0x8000 follows redirects from https to http, 0x4000 from http to https.
    int m_nLoadFlag = 49153;
    int m_nLastError = 0;
    std::string m_strCopyFolder;  // a file-system path, as the OS gave it; no copies while empty

    // Limits against servers that stall, loop or flood; tests lower them.
    long m_nMaxRedirects = 10;
    long m_nConnectTimeoutMs = 15000;
    long m_nStallSeconds = 30;          // fails when under 1 byte/s for this long
    long m_nTotalTimeoutSeconds = 300;  // a trickling server must not hold the program forever
    std::int64_t m_nMaxBodyBytes = 16 * 1024 * 1024;

private:
    struct SResponse;

    bool ConfigureTransfer(const std::string& url, SResponse& response);
    void WriteCopy(const std::string& saveName, const std::string& requestedUrl, long status,
                   const std::vector<std::string>& lines) const;

    const CCurlLibrary* m_pCurl = nullptr;  // loaded with the session
    void* m_pSession = nullptr;             // the CURL easy handle
};
