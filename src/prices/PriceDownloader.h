#pragma once

#include <functional>
#include <string>

class CFetcher;
class CIniFile;
class CPriceList;
class CServerCache;
class IClock;

// The download commands: one server's prices with the stamp of the outcome, and all offered
// servers one after the other, stoppable between servers.
class CPriceDownloader {
public:
    CPriceDownloader(CIniFile& profile, CServerCache& cache, CPriceList& priceList,
                     CFetcher& fetcher, const IClock& clock);

    // Downloads the server's price list. Success stamps Aktualisiert with the local time
    // ("6.12.26 09:05") in the table and the profile; failure stamps the error number
    // ("** 0x0000001c") in the table only, so the next start shows the last good stamp.
    // An unknown server is left alone.
    void DownloadServer(const std::string& name);

    // Downloads every server whose Selected is "1" (or missing), in list order. Before each
    // one, stopRequested is asked (the window checks the Escape key there) and progress gets
    // the server's name. Returns true when it was stopped.
    bool DownloadAll(const std::function<bool()>& stopRequested,
                     const std::function<void(const std::string&)>& progress);

    static std::string FormatSuccessStamp(const IClock& clock);
    static std::string FormatFailureStamp(int error);

private:
    CIniFile& m_profile;
    CServerCache& m_cache;
    CPriceList& m_priceList;
    CFetcher& m_fetch;
    const IClock& m_clock;
};
