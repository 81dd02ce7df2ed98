#include "prices/ServerListRun.h"

#include "prices/Fetcher.h"
#include "prices/PriceList.h"
#include "profile/IniFile.h"

namespace {

const std::string kCopyName = "ServerList.txt";

}  // namespace

CServerListRun::CServerListRun(CIniFile& profile, CFetcher& fetch, long totalSeconds)
    : m_profile(profile), m_fetch(fetch), m_nTotalSeconds(totalSeconds)
{
}

void CServerListRun::Start()
{
    const std::string address = m_profile.GetString("Settings", "ServerList", "");
    if (address.empty()) {
        m_outcome.kind = SDownloadOutcome::EKind::AddressMissing;
        Finish(false);
        return;
    }
    Fetch(EStep::List, address);
}

void CServerListRun::Fetch(EStep step, const std::string& address)
{
    m_eStep = step;
    m_strAddress = address;
    m_nTransfer = m_fetch.StartFetch(address, m_nTotalSeconds);
    if (m_nTransfer == 0) {
        STransferResponse none = CFetcher::NoSession();
        OnFinished(none);
    }
}

bool CServerListRun::OnFinished(const STransferResponse& response)
{
    if (IsDone() || m_eStep == EStep::Idle || response.id != m_nTransfer)
        return false;
    const bool copy = m_eStep != EStep::Fallback;
    const bool ok = m_fetch.FinishFetch(response, m_strAddress, m_lines, copy ? &kCopyName : nullptr);
    if (response.cancelled) {
        m_outcome.kind = SDownloadOutcome::EKind::Stopped;
        Finish(false);
        return true;
    }
    switch (m_eStep) {
    case EStep::List:
        AfterList(ok, response.status);
        break;
    case EStep::Fallback:
        AfterFallback(ok);
        break;
    case EStep::Current:
        if (ok)
            m_profile.WriteString("Settings", "ServerList", m_strAddress);
        Finish(ok);
        break;
    default:
        break;
    }
    return true;
}

void CServerListRun::AfterList(bool ok, long status)
{
    if (ok) {
        Finish(true);
        return;
    }
    m_outcome = SDownloadOutcome::FromFetch(false, m_fetch.m_nLastError, status);
    const std::string fallback = m_profile.GetString("Settings", "ServerListFallback", "");
    if (fallback.empty())
        Finish(false);
    else
        Fetch(EStep::Fallback, fallback);
}

void CServerListRun::AfterFallback(bool ok)
{
    if (!ok || m_lines.empty()) {
        Finish(false);
        return;
    }
    std::vector<std::string> fields;
    SplitFields(m_lines.front(), fields, '\t');
    const std::string current = fields.front();
    if (current.empty())
        Finish(false);
    else
        Fetch(EStep::Current, current);
}

void CServerListRun::Finish(bool succeeded)
{
    m_eStep = EStep::Done;
    m_nTransfer = 0;
    m_bSucceeded = succeeded;
    if (succeeded)
        m_outcome.kind = SDownloadOutcome::EKind::Success;
    else
        m_lines.clear();
}

void CServerListRun::Stop()
{
    if (IsDone())
        return;
    m_fetch.Cancel(m_nTransfer);
    m_outcome.kind = SDownloadOutcome::EKind::Stopped;
    Finish(false);
}

void CServerListRun::RunToEnd()
{
    Start();
    while (!IsDone())
        OnFinished(m_fetch.Wait(m_nTransfer));
}
