#pragma once

#include "config/SettingKeys.h"
#include "net/TransferWorker.h"
#include "platform/Listeners.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CCurlLibrary;

// Limits against servers that stall, loop or flood; tests lower them.
struct SFetchLimits {
    long maxRedirects = 10;
    long connectTimeoutMs = 15000;
    long stallSeconds = 30; // fails when under 1 byte/s for this long
    long totalTimeoutSeconds = 300; // a trickling server must not hold the program forever
    std::int64_t maxBodyBytes = 16 * 1024 * 1024;
};

// The program's only network access: fetches HTTP and HTTPS addresses into Windows-1252 lines
// and, on request, leaves a copy of the response in the copy folder. The transfers run on a
// worker; the window starts them, learns of their end through the notification, and finishes
// each on its own thread.
class CFetcher {
public:
    explicit CFetcher(const SFetchLimits& limits = {});
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
    // True for a status from 200 to 299; false otherwise, with LastError() 0 for an HTTP
    // status and non-zero for any failure to fetch (a CURLcode, or -1 for an unexpected
    // failure). A copy is written to the copy folder under saveName (made safe as a file name)
    // when a response came in. Callers read the body with ForEachBodyLine, so that a body of
    // millions of short lines never exists as millions of strings.
    bool FinishFetch(
        const STransferResponse& response, const std::string& url, const std::string* saveName);
    static STransferResponse NoSession();

    void Cancel(int id);
    void CancelAll();
    // Responses of StartFetch, in the order they finished.
    std::vector<STransferResponse> TakeFinished();
    // listener runs whenever responses are ready to be taken, for as long as the subscription
    // lives; mostly on the worker's thread, so it may only hand the news over (CTransferWorker).
    [[nodiscard]] CSubscription SubscribeFinished(std::function<void()> listener)
    {
        return m_finished.Subscribe(std::move(listener));
    }

    // The error number of the last FinishFetch.
    int LastError() const { return m_nLastError; }
    // The settings' load flag, which every transfer started from here on takes.
    void SetLoadFlag(int flag) { m_nLoadFlag = flag; }
    // A file-system path, as the OS gave it; no copies while empty.
    void SetCopyFolder(std::string folder) { m_strCopyFolder = std::move(folder); }
    const SFetchLimits& Limits() const { return m_limits; }
    void SetLimits(const SFetchLimits& limits) { m_limits = limits; }

    // The path that a copy named saveName gets; empty without a copy folder.
    std::string CopyPath(const std::string& saveName) const;
    // The copy that FinishFetch leaves, for a response that came in, at a path from CopyPath
    // (nothing for an empty one). Touches nothing of a fetcher, so any thread may call it.
    static void WriteCopyFile(const std::string& path, const std::string& requestedUrl,
        const STransferResponse& response);

private:
    int m_nLoadFlag = SettingKeys::kDefaultLoadFlag;
    int m_nLastError = 0;
    std::string m_strCopyFolder;
    SFetchLimits m_limits;
    // Declared before the worker, which calls it until the worker has gone.
    CListeners m_finished;
    std::unique_ptr<CTransferWorker> m_pWorker; // the session; created on first use
};

// Splits a body at LF (after a UTF-8 byte order mark), drops every CR, keeps a last line without
// LF, and converts each line from UTF-8 to Windows-1252, as every list the program reads arrives,
// and hands the lines over one at a time (the handler may take the text).
void ForEachBodyLine(std::string_view body, const std::function<void(std::string& line)>& onLine);
