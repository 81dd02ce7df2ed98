#pragma once

#include "calc/ListReader.h"
#include "prices/DownloadOutcome.h"
#include "prices/PriceList.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CFetcher;
class CIniFile;
class CPriceListReader;
class CServerCache;
class IClock;
struct STransferResponse;

// One server's download as planned before its transfer starts.
struct SPreparedDownload {
    std::string name;
    std::string url;
    std::string copyName;
    SPriceColumns columns;
    bool usableColumns = false;
    bool fetch = false; // false: refused before fetching (unusable Werte or no session)
};

// The download commands: one server's prices with the stamp of the outcome, the offered
// servers, and a price list the user imports from a file.
class CPriceDownloader {
public:
    // A list of the size bound arrives in this time at 280 KB/s; a server trickling slower
    // holds a run no longer than this.
    static constexpr long kPriceListSeconds = 60;
    // A copied sheet of every plant is a few kilobytes; the bound of a pasted shopping list is
    // far beyond it.
    static constexpr std::size_t kMaxPasteBytes = kMaxListBytes;

    CPriceDownloader(CIniFile& profile, CServerCache& cache, CPriceList& priceList,
        CFetcher& fetcher, const IClock& clock, CDownloadOutcomes& outcomes);

    // The servers whose Selected is "1" (or missing), in list order.
    std::vector<std::string> OfferedServers() const;

    // One server's download in two halves, run by CDownloadRun: nullopt for an unknown
    // server; Apply takes the response, or nullptr when no fetch took place, and stamps.
    // Success stamps Aktualisiert with the local time ("6.12.26 09:05") in the table and the
    // profile; failure, also a body without one price row, stamps this server's own error
    // number ("** 0x0000001c") in the table only, so the next start shows the last good stamp.
    // Returns whether the prices were taken.
    std::optional<SPreparedDownload> Prepare(const std::string& name);
    bool Apply(const SPreparedDownload& download, const STransferResponse* response);
    // Starts the transfer of a prepared download. When its list is in, the worker writes the
    // copy, reads the body with the reader into the rows to apply and frees it, so that Apply
    // only writes those rows. Returns the transfer's id, 0 without a session.
    int StartTransfer(
        const SPreparedDownload& download, std::shared_ptr<const CPriceListReader> reader);
    // A reader of the catalogue as it is now; one serves any number of transfers.
    std::shared_ptr<const CPriceListReader> MakeReader() const;

    // Reads a price list from a local file the user picked into the server, exactly as a
    // download's body (UTF-8, or UTF-16 with its byte order mark), and stamps it like a
    // successful download. False, stamping nothing, when the server is unknown, its Werte is
    // unusable, or the file is no regular file, cannot be read or is larger than a download
    // may be; false with a failure stamp when not one price row was read. path is UTF-8 on
    // every system.
    bool ImportPriceList(const std::string& name, const std::string& path);
    // The same for a price list copied to the clipboard (rows of a published sheet or a
    // spreadsheet): text as the clipboard gave it, Windows-1252 or UTF-8. A text longer than
    // kMaxPasteBytes is refused unread, like a file too large.
    bool PastePriceList(const std::string& name, std::string_view text);

    static std::string FormatSuccessStamp(const IClock& clock);
    static std::string FormatFailureStamp(int error);

private:
    SDownloadOutcome ReadImportFile(const std::string& path, std::string& body) const;
    // The common end of an import and a paste: outcome is a failure when the list could not
    // be read at all.
    bool ApplyImported(const std::string& name, CServerTable& table, std::string_view body,
        const SPriceColumns& columns, SDownloadOutcome outcome);
    void Stamp(const std::string& name, CServerTable& table, const SDownloadOutcome& outcome);

    CIniFile& m_profile;
    CServerCache& m_cache;
    CPriceList& m_priceList;
    CFetcher& m_fetch;
    const IClock& m_clock;
    CDownloadOutcomes& m_outcomes;
};
