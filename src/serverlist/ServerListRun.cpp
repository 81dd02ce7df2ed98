#include "serverlist/ServerListRun.h"

#include "config/SettingKeys.h"
#include "net/Fetcher.h"
#include "prices/PriceList.h"
#include "profile/IniFile.h"

#include <curl/curl.h>

namespace {

const std::string kCopyName = "ServerList.txt";

// A list saved as UTF-16 or binary junk read as lines would add servers named by its bytes
// and carry NUL bytes into the profile.
bool IsText(std::string_view body)
{
    return body.find('\0') == std::string_view::npos && !body.starts_with("\xFF\xFE")
        && !body.starts_with("\xFE\xFF");
}

} // namespace

CServerListRun::CServerListRun(CIniFile& profile, CFetcher& fetch, long totalSeconds)
    : m_profile(profile)
    , m_fetch(fetch)
    , m_nTotalSeconds(totalSeconds)
{
}

void CServerListRun::Start()
{
    m_started = std::chrono::steady_clock::now();
    const std::string address
        = m_profile.GetString(SettingKeys::kSection, SettingKeys::kServerList, "");
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
    long seconds = 0;
    if (m_nTotalSeconds > 0) {
        const auto spent = std::chrono::duration_cast<std::chrono::seconds>(
            std::chrono::steady_clock::now() - m_started)
                               .count();
        seconds = m_nTotalSeconds - static_cast<long>(spent);
        if (seconds <= 0) {
            m_outcome = SDownloadOutcome::FromFetch(false, CURLE_OPERATION_TIMEDOUT, 0);
            Finish(false);
            return;
        }
    }
    m_nTransfer = m_fetch.StartFetch(address, seconds);
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
    const bool fetched = m_fetch.FinishFetch(response, m_strAddress, copy ? &kCopyName : nullptr);
    const bool ok = fetched && IsText(response.body);
    m_strBody = response.body;
    if (response.cancelled) {
        m_outcome.kind = SDownloadOutcome::EKind::Stopped;
        Finish(false);
        return true;
    }
    switch (m_eStep) {
    case EStep::List:
        AfterList(ok,
            fetched ? SDownloadOutcome::Failure(SDownloadOutcome::EKind::NotServerList)
                    : SDownloadOutcome::FromFetch(false, m_fetch.LastError(), response.status));
        break;
    case EStep::Fallback:
        AfterFallback(ok);
        break;
    case EStep::Current:
        if (ok)
            m_profile.WriteString(SettingKeys::kSection, SettingKeys::kServerList, m_strAddress);
        Finish(ok);
        break;
    default:
        break;
    }
    return true;
}

void CServerListRun::AfterList(bool ok, const SDownloadOutcome& failure)
{
    if (ok) {
        Finish(true);
        return;
    }
    m_outcome = failure;
    const std::string fallback
        = m_profile.GetString(SettingKeys::kSection, SettingKeys::kServerListFallback, "");
    if (fallback.empty())
        Finish(false);
    else
        Fetch(EStep::Fallback, fallback);
}

void CServerListRun::AfterFallback(bool ok)
{
    if (!ok || m_strBody.empty()) {
        Finish(false);
        return;
    }
    // Only the first line counts; the document is read no further.
    std::string firstLine;
    ForEachBodyLine(std::string_view(m_strBody).substr(0, m_strBody.find('\n')),
        [&firstLine](std::string& line) { firstLine = std::move(line); });
    std::vector<std::string> fields;
    SplitFields(firstLine, fields, '\t', 1);
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
        m_strBody.clear();
}

void CServerListRun::Stop()
{
    if (IsDone())
        return;
    m_fetch.Cancel(m_nTransfer);
    m_outcome.kind = SDownloadOutcome::EKind::Stopped;
    Finish(false);
}
