#pragma once

#include <map>
#include <string>

class CTexts;

// What became of one download, in the terms the user can act on.
struct SDownloadOutcome {
    enum class EKind {
        None,
        Success,
        HostNotFound,
        Refused,
        TimedOut,
        HttpStatus,
        TooLarge,
        NotAllowed,
        Certificate,
        AddressMissing,
        Columns,
        FileUnreadable,
        NotAFile,
        NotPriceList,
        NotServerList,
        Stopped,
        Other,
    };

    // The numbers of failures that are the program's own, not the fetch's: above every CURLcode,
    // so that a stamp never shows another server's error.
    static constexpr int kErrorColumns = 0x1001;
    static constexpr int kErrorNotPriceList = 0x1002;
    static constexpr int kErrorFile = 0x1003;
    static constexpr int kErrorNotServerList = 0x1004;

    EKind kind = EKind::None;
    int error = 0; // the error number the stamp shows
    long status = 0; // the HTTP status, for HttpStatus

    // Classifies the end of a fetch by its result, error number and HTTP status.
    static SDownloadOutcome FromFetch(bool ok, int error, long status);
    // One of the program's own failures, with its error number.
    static SDownloadOutcome Failure(EKind kind);
    bool IsFailure() const { return kind != EKind::None && kind != EKind::Success; }
    // One sentence in the user's language; empty for success and for no outcome.
    std::string Describe(const CTexts& texts) const;
};

// The outcomes of the run so far, kept in memory only: the stamps already say when each
// server last succeeded; these say why the last attempt failed.
class CDownloadOutcomes {
public:
    void Record(const std::string& server, const SDownloadOutcome& outcome);
    SDownloadOutcome Find(const std::string& server) const;
    // After Download all: how many of the offered servers failed, and how many were applied
    // (fewer when it was stopped; -1: all of them).
    void RecordDownloadAll(int failed, int offered, int applied = -1);
    void RecordServerList(const SDownloadOutcome& outcome) { m_serverList = outcome; }
    // A failed server-list update is news only until the player's next command.
    void ForgetServerList() { m_serverList = {}; }

    // The date label's tooltip for the selected server: why its last download failed, the
    // count of the last Download all (and that it was stopped), and a failed server-list
    // update, one per line.
    std::string Tooltip(const std::string& server, const CTexts& texts) const;

private:
    std::map<std::string, SDownloadOutcome> m_mapOutcomes; // by upper-cased server name
    int m_nAllFailed = -1;
    int m_nAllApplied = 0;
    int m_nAllOffered = 0;
    SDownloadOutcome m_serverList;
};
