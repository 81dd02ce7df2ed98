#include "prices/DownloadOutcome.h"

#include "config/Texts.h"
#include "platform/TextCase.h"

#include <curl/curl.h>

#include <cstdint>
#include <cstdio>

namespace {

using EKind = SDownloadOutcome::EKind;

EKind KindOfError(int error)
{
    switch (error) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return EKind::HostNotFound;
    case CURLE_COULDNT_CONNECT:
        return EKind::Refused;
    case CURLE_OPERATION_TIMEDOUT:
        return EKind::TimedOut;
    case CURLE_FILESIZE_EXCEEDED:
        return EKind::TooLarge;
    case CURLE_UNSUPPORTED_PROTOCOL:
        return EKind::NotAllowed;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
        return EKind::Certificate;
    case CURLE_URL_MALFORMAT:
        return EKind::AddressMissing;
    case CURLE_ABORTED_BY_CALLBACK:
        return EKind::Stopped;
    default:
        return EKind::Other;
    }
}

const char* TextKey(EKind kind)
{
    switch (kind) {
    case EKind::HostNotFound:
        return "Txt_ErrHost";
    case EKind::Refused:
        return "Txt_ErrRefused";
    case EKind::TimedOut:
        return "Txt_ErrTimeout";
    case EKind::HttpStatus:
        return "Txt_ErrHttp";
    case EKind::TooLarge:
        return "Txt_ErrTooLarge";
    case EKind::NotAllowed:
        return "Txt_ErrNotAllowed";
    case EKind::Certificate:
        return "Txt_ErrCertificate";
    case EKind::AddressMissing:
        return "Txt_ErrAddress";
    case EKind::Columns:
        return "Txt_ErrColumns";
    case EKind::FileUnreadable:
        return "Txt_ErrFile";
    case EKind::NotAFile:
        return "Txt_ErrNotFile";
    case EKind::NotPriceList:
        return "Txt_ErrNotPriceList";
    case EKind::Stopped:
        return "Txt_ErrStopped";
    case EKind::NotServerList:
        return "Txt_ErrNotServerList";
    case EKind::Other:
        return "Txt_ErrOther";
    case EKind::None:
    case EKind::Success:
        break;
    }
    return nullptr;
}

} // namespace

SDownloadOutcome SDownloadOutcome::FromFetch(bool ok, int error, long status)
{
    SDownloadOutcome outcome;
    outcome.error = error;
    outcome.status = status;
    if (ok)
        outcome.kind = EKind::Success;
    else if (error == 0)
        outcome.kind = EKind::HttpStatus;
    else
        outcome.kind = KindOfError(error);
    return outcome;
}

SDownloadOutcome SDownloadOutcome::Failure(EKind kind)
{
    SDownloadOutcome outcome;
    outcome.kind = kind;
    switch (kind) {
    case EKind::Columns:
        outcome.error = kErrorColumns;
        break;
    case EKind::NotPriceList:
        outcome.error = kErrorNotPriceList;
        break;
    case EKind::NotServerList:
        outcome.error = kErrorNotServerList;
        break;
    case EKind::TooLarge:
        outcome.error = CURLE_FILESIZE_EXCEEDED;
        break;
    default:
        outcome.error = kErrorFile;
        break;
    }
    return outcome;
}

// The numbers are appended by our own code: profile texts can come from a remote server list
// and are never used as a format.
std::string SDownloadOutcome::Describe(const CTexts& texts) const
{
    const char* key = TextKey(kind);
    if (!key)
        return {};
    std::string text = texts.GetText(key);
    if (kind == EKind::HttpStatus) {
        text += " " + std::to_string(status);
    } else if (kind == EKind::Other) {
        char number[16];
        std::snprintf(number, sizeof number, "0x%08x",
            static_cast<unsigned>(static_cast<std::uint32_t>(error)));
        text += std::string(" ") + number;
    }
    return text;
}

void CDownloadOutcomes::Record(const std::string& server, const SDownloadOutcome& outcome)
{
    m_mapOutcomes[MakeUpper(server)] = outcome;
}

SDownloadOutcome CDownloadOutcomes::Find(const std::string& server) const
{
    const auto found = m_mapOutcomes.find(MakeUpper(server));
    return found == m_mapOutcomes.end() ? SDownloadOutcome {} : found->second;
}

void CDownloadOutcomes::RecordDownloadAll(int failed, int offered, int applied)
{
    m_nAllFailed = failed;
    m_nAllApplied = applied < 0 ? offered : applied;
    m_nAllOffered = offered;
}

std::string CDownloadOutcomes::Tooltip(const std::string& server, const CTexts& texts) const
{
    std::string tooltip;
    const auto addLine = [&tooltip](const std::string& line) {
        if (line.empty())
            return;
        if (!tooltip.empty())
            tooltip += "\n";
        tooltip += line;
    };
    addLine(Find(server).Describe(texts));
    const auto count = [](int part, int whole) {
        return " " + std::to_string(part) + " / " + std::to_string(whole);
    };
    if (m_nAllFailed >= 0 && m_nAllApplied < m_nAllOffered)
        addLine(texts.GetText("Txt_DownloadAllStopped") + count(m_nAllApplied, m_nAllOffered));
    if (m_nAllFailed >= 0)
        addLine(texts.GetText("Txt_FailedServers") + count(m_nAllFailed, m_nAllApplied));
    if (m_serverList.IsFailure())
        addLine(texts.GetText("Txt_ServerListFailed") + " " + m_serverList.Describe(texts));
    return tooltip;
}
