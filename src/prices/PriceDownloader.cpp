#include "prices/PriceDownloader.h"

#include "net/Fetcher.h"
#include "platform/ByteSource.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/FileKind.h"
#include "platform/Utf16Text.h"
#include "platform/Utf8Path.h"
#include "prices/PriceList.h"
#include "prices/PriceListReader.h"
#include "profile/IniFile.h"
#include "servers/ServerCache.h"
#include "servers/ServerTable.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>

using EKind = SDownloadOutcome::EKind;

namespace {

// Whether text is well-formed UTF-8 (overlong forms and surrogates are not).
bool IsUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1
            : lead < 0xC2                      ? 0
            : lead < 0xE0                      ? 2
            : lead < 0xF0                      ? 3
            : lead < 0xF5                      ? 4
                                               : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        const auto second = static_cast<unsigned char>(text[i + 1 < text.size() ? i + 1 : i]);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F)
            || (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
            return false;
        i += length;
    }
    return true;
}

// The reader takes UTF-8. A clipboard text is Windows-1252, unless its bytes form UTF-8: then
// a program offered UTF-8 as 8-bit text, and reading it as Windows-1252 would garble every
// umlaut; no plant name of Windows-1252 letters forms such a sequence.
std::string PastedTextAsUtf8(std::string_view text)
{
    return IsUtf8(text) ? std::string(text) : Cp1252ToUtf8(text);
}

} // namespace

CPriceDownloader::CPriceDownloader(CIniFile& profile, CServerCache& cache, CPriceList& priceList,
    CFetcher& fetcher, const IClock& clock, CDownloadOutcomes& outcomes)
    : m_profile(profile)
    , m_cache(cache)
    , m_priceList(priceList)
    , m_fetch(fetcher)
    , m_clock(clock)
    , m_outcomes(outcomes)
{
}

std::string CPriceDownloader::FormatSuccessStamp(const IClock& clock)
{
    const std::tm now = LocalTime(clock.Now());
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%d.%02d.%02d %02d:%02d", now.tm_mday, now.tm_mon + 1,
        now.tm_year % 100, now.tm_hour, now.tm_min);
    return stamp;
}

std::string CPriceDownloader::FormatFailureStamp(int error)
{
    char stamp[32];
    std::snprintf(
        stamp, sizeof stamp, "** 0x%08x", static_cast<unsigned>(static_cast<std::uint32_t>(error)));
    return stamp;
}

std::vector<std::string> CPriceDownloader::OfferedServers() const
{
    std::vector<std::string> offered;
    for (const std::string& name : m_cache.Names())
        if (m_cache.GetServerValue(name, "Selected", "1") == "1")
            offered.push_back(name);
    return offered;
}

std::optional<SPreparedDownload> CPriceDownloader::Prepare(const std::string& name)
{
    const CServerTable* table = m_cache.FindTable(name);
    if (!table)
        return std::nullopt;
    SPreparedDownload download;
    download.name = name;
    download.url = table->m_strUrl;
    download.copyName = CPriceList::CopyName(*table);
    download.usableColumns = CPriceList::TableColumns(*table, download.columns);
    download.fetch = download.usableColumns && m_fetch.HasSession();
    return download;
}

bool CPriceDownloader::Apply(const SPreparedDownload& download, const STransferResponse* response)
{
    // Looked up again: the run's events may have passed since the transfer started.
    CServerTable* table = m_cache.FindTable(download.name);
    if (!table)
        return false;
    SDownloadOutcome outcome;
    if (response) {
        // A response reduced on arrival left its copy there.
        const auto* rows = std::any_cast<CPriceRows>(&response->reduced);
        const bool ok
            = m_fetch.FinishFetch(*response, download.url, rows ? nullptr : &download.copyName);
        outcome = SDownloadOutcome::FromFetch(ok, m_fetch.LastError(), response->status);
        const auto applyPrices = [&] {
            return rows ? m_priceList.ApplyRows(*table, *rows)
                        : m_priceList.ApplyPriceBody(*table, response->body, download.columns);
        };
        if (ok && applyPrices() == 0)
            outcome = SDownloadOutcome::Failure(EKind::NotPriceList);
    } else if (!download.usableColumns) {
        outcome = SDownloadOutcome::Failure(EKind::Columns);
    } else {
        outcome = SDownloadOutcome::FromFetch(false, CFetcher::NoSession().error, 0);
    }
    Stamp(download.name, *table, outcome);
    m_outcomes.Record(download.name, outcome);
    return !outcome.IsFailure();
}

// The file's kind is looked at before it is opened: opening a named pipe would wait for a
// writer, and a device would never end.
SDownloadOutcome CPriceDownloader::ReadImportFile(const std::string& path, std::string& body) const
{
    const EFileKind kind = KindOfFile(path);
    if (kind == EFileKind::Missing)
        return SDownloadOutcome::Failure(EKind::FileUnreadable);
    if (kind != EFileKind::Regular)
        return SDownloadOutcome::Failure(EKind::NotAFile);
    CFileSource file(path);
    if (!file.IsOpen())
        return SDownloadOutcome::Failure(
            file.Error() == ENXIO ? EKind::NotAFile : EKind::FileUnreadable);
    // One byte over the limit is enough to know the file is too large for a list.
    const std::size_t limit = static_cast<std::size_t>(m_fetch.Limits().maxBodyBytes) + 1;
    body.resize(limit);
    std::size_t filled = 0;
    std::ptrdiff_t count = 0;
    while (filled < limit && (count = file.Read(body.data() + filled, limit - filled)) > 0)
        filled += static_cast<std::size_t>(count);
    body.resize(filled);
    if (count < 0)
        return SDownloadOutcome::Failure(EKind::FileUnreadable);
    if (static_cast<std::int64_t>(filled) > m_fetch.Limits().maxBodyBytes)
        return SDownloadOutcome::Failure(EKind::TooLarge);
    ConvertUtf16ToUtf8(body);
    return SDownloadOutcome::FromFetch(true, 0, 0);
}

int CPriceDownloader::StartTransfer(
    const SPreparedDownload& download, std::shared_ptr<const CPriceListReader> reader)
{
    auto arrive = [reader = std::move(reader), columns = download.columns, url = download.url,
                      copyPath = m_fetch.CopyPath(download.copyName)](STransferResponse& response) {
        CFetcher::WriteCopyFile(copyPath, url, response);
        response.reduced = reader->ReadBody(response.body, columns);
        std::string().swap(response.body);
    };
    return m_fetch.StartFetch(download.url, kPriceListSeconds, std::move(arrive));
}

std::shared_ptr<const CPriceListReader> CPriceDownloader::MakeReader() const
{
    return std::make_shared<const CPriceListReader>(m_priceList.Catalog());
}

bool CPriceDownloader::ImportPriceList(const std::string& name, const std::string& path)
{
    CServerTable* table = m_cache.FindTable(name);
    if (!table)
        return false;
    SPriceColumns columns;
    std::string body;
    SDownloadOutcome outcome = CPriceList::TableColumns(*table, columns)
        ? ReadImportFile(path, body)
        : SDownloadOutcome::Failure(EKind::Columns);
    return ApplyImported(name, *table, body, columns, outcome);
}

bool CPriceDownloader::PastePriceList(const std::string& name, std::string_view text)
{
    CServerTable* table = m_cache.FindTable(name);
    if (!table)
        return false;
    SPriceColumns columns;
    SDownloadOutcome outcome = !CPriceList::TableColumns(*table, columns)
        ? SDownloadOutcome::Failure(EKind::Columns)
        : text.size() > kMaxPasteBytes ? SDownloadOutcome::Failure(EKind::TooLarge)
                                       : SDownloadOutcome::FromFetch(true, 0, 0);
    const std::string body = outcome.IsFailure() ? std::string() : PastedTextAsUtf8(text);
    return ApplyImported(name, *table, body, columns, outcome);
}

bool CPriceDownloader::ApplyImported(const std::string& name, CServerTable& table,
    std::string_view body, const SPriceColumns& columns, SDownloadOutcome outcome)
{
    // A list that was read but holds no price is stamped as a failure; one never read is not.
    const bool read = !outcome.IsFailure();
    if (read && m_priceList.ApplyPriceBody(table, body, columns) == 0)
        outcome = SDownloadOutcome::Failure(EKind::NotPriceList);
    if (read)
        Stamp(name, table, outcome);
    m_outcomes.Record(name, outcome);
    return !outcome.IsFailure();
}

void CPriceDownloader::Stamp(
    const std::string& name, CServerTable& table, const SDownloadOutcome& outcome)
{
    if (!outcome.IsFailure()) {
        const std::string stamp = FormatSuccessStamp(m_clock);
        table.SetAt("Aktualisiert", stamp);
        m_profile.WriteString(name, "Aktualisiert", stamp);
    } else {
        // Only in memory: the profile keeps the last successful stamp.
        table.SetAt("Aktualisiert", FormatFailureStamp(outcome.error));
    }
}
