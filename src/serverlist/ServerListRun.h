#pragma once

#include "net/TransferWorker.h"
#include "prices/DownloadOutcome.h"

#include <chrono>
#include <string>
#include <vector>

class CFetcher;
class CIniFile;

// Fetches the server list without waiting for the network: the list's address first, and
// when that fails, the fallback document, whose first field names the current address, which
// is then fetched and replaces the setting. A body that is not UTF-8 text (NUL bytes, a UTF-16
// byte order mark) counts as a failure.
class CServerListRun {
public:
    // totalSeconds > 0 limits the whole run, all its transfers together: the list, the
    // fallback and the list once more never take longer than that between them.
    CServerListRun(CIniFile& profile, CFetcher& fetch, long totalSeconds = 0);

    void Start();
    // Takes a finished transfer; false when it belongs to another run.
    bool OnFinished(const STransferResponse& response);
    // Aborts the transfer in flight; the run ends without a list.
    void Stop();

    bool IsDone() const { return m_eStep == EStep::Done; }
    bool Succeeded() const { return m_bSucceeded; }
    // The list as it came (UTF-8, heading first), once the run succeeded; read it with
    // ForEachBodyLine.
    const std::string& Body() const { return m_strBody; }
    // Why the list's own address failed (the fallback only says where to look next).
    const SDownloadOutcome& Outcome() const { return m_outcome; }

private:
    enum class EStep { Idle, List, Fallback, Current, Done };

    void Fetch(EStep step, const std::string& address);
    void Finish(bool succeeded);
    // failure: why the list's own address failed, when it did.
    void AfterList(bool ok, const SDownloadOutcome& failure);
    void AfterFallback(bool ok);

    CIniFile& m_profile;
    CFetcher& m_fetch;
    const long m_nTotalSeconds;
    EStep m_eStep = EStep::Idle;
    int m_nTransfer = 0;
    std::string m_strAddress;
    std::string m_strBody;
    std::chrono::steady_clock::time_point m_started;
    SDownloadOutcome m_outcome;
    bool m_bSucceeded = false;
};
