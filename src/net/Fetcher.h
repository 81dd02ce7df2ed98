#pragma once

#include "config/SettingKeys.h"
#include "net/TransferWorker.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CCurlLibrary;

// The program's only network access: fetches HTTP and HTTPS addresses into Windows-1252 lines
// and, on request, leaves a copy of the response in the copy folder. The transfers run on a
// worker; the window starts them, learns of their end through the notification, and finishes
// each on its own thread.
class CFetcher {
public:
    CFetcher();
    ~CFetcher();
    CFetcher(const CFetcher&) = delete;
    CFetcher& operator=(const CFetcher&) = delete;

    // Creates the session on first use, so that a run without downloads never starts the
    // network library. True when it could be created; without it every fetch fails.
    bool HasSession();

    // Starts a transfer with the current limits; totalSeconds > 0 shortens the total limit.
    // onArrival runs on the worker when the response is in (STransferRequest). Returns the
    // transfer's id, or 0 without a session (FinishFetch of NoSession() then fails).
    int StartFetch(const std::string& url, long totalSeconds = 0,
        std::function<void(STransferResponse&)> onArrival = {});
    // True for a status from 200 to 299; false otherwise, with m_nLastError 0 for an HTTP
    // status and non-zero for any failure to fetch (a CURLcode, or -1 for an unexpected
    // failure). A copy is written to m_strCopyFolder under saveName (made safe as a file name)
    // when a response came in. Callers read the body with ForEachBodyLine, so that a body of
    // millions of short lines never exists as millions of strings.
    bool FinishFetch(
        const STransferResponse& response, const std::string& url, const std::string* saveName);
    static STransferResponse NoSession();

    void Cancel(int id);
    void CancelAll();
    // Responses of StartFetch, in the order they finished.
    std::vector<STransferResponse> TakeFinished();
    STransferResponse Wait(int id);
    void WaitForAny();
    // Runs on the worker's thread whenever a response is ready (see CTransferWorker).
    void SetNotify(std::function<void()> notify);

    // The path that a copy named saveName gets; empty without a copy folder.
    std::string CopyPath(const std::string& saveName) const;
    // The copy that FinishFetch leaves, for a response that came in, at a path from CopyPath
    // (nothing for an empty one). Touches nothing of a fetcher, so any thread may call it.
    static void WriteCopyFile(const std::string& path, const std::string& requestedUrl,
        const STransferResponse& response);

    int m_nLoadFlag = SettingKeys::kDefaultLoadFlag;
    int m_nLastError = 0;
    std::string m_strCopyFolder; // a file-system path, as the OS gave it; no copies while empty

    // Limits against servers that stall, loop or flood; tests lower them.
    long m_nMaxRedirects = 10;
    long m_nConnectTimeoutMs = 15000;
    long m_nStallSeconds = 30; // fails when under 1 byte/s for this long
    long m_nTotalTimeoutSeconds = 300; // a trickling server must not hold the program forever
    std::int64_t m_nMaxBodyBytes = 16 * 1024 * 1024;

private:
    std::function<void()> m_fnNotify;
    std::unique_ptr<CTransferWorker> m_pWorker; // the session; created on first use
};

// Splits a body at LF (after a UTF-8 byte order mark), drops every CR, keeps a last line without
// LF, and converts each line from UTF-8 to Windows-1252, as every list the program reads arrives,
// and hands the lines over one at a time (the handler may take the text).
void ForEachBodyLine(std::string_view body, const std::function<void(std::string& line)>& onLine);
