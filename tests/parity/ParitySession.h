#pragma once

#include "app/QuotinoApp.h"
#include "platform/Clock.h"
#include "support/FixedTime.h"
#include "support/LoopbackServer.h"
#include "support/TempDir.h"
#include "window/ControlIds.h"

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

class IParityFace;

// The same player's session through either face's real window, recorded step by step: what
// the window on top shows after each step. Each face's record is compared with the one record
// both must show (tests/parity/session.expected); a difference counts only where
// tests/parity/allowed-differences.txt gives the face a reason for it. A new or changed step
// changes the expected record: compare the Qt run's record (parity-qt.record in the build tree)
// with it, and take it over once every change in it is meant.
class CParitySession {
public:
    // A profile offering two loopback servers, one whose downloads succeed and one whose fail,
    // and the application over it, ready for a face's window.
    CParitySession();

    CQuotinoApp& App() { return *m_pApp; }
    // The window of face is shown and empty.
    void Run(IParityFace& face);
    const std::vector<std::string>& Record() const { return m_record; }
    // Writes the record into the build tree as parity-<face>.record; returns every difference
    // from the expected record without a reason for this face, and every reason that no longer
    // has a difference.
    std::vector<std::string> Compare(const std::string& face) const;

private:
    // What the window on top, made from the template, shows.
    void Step(IParityFace& face, const std::string& name, int window = IDD_MAIN);
    std::string Shown(const std::string& value) const;
    void ChooseLanguage(IParityFace& face, const std::string& language);
    void WaitForCommand(IParityFace& face);

    TempDir m_dir;
    LoopbackServer m_server;
    std::atomic<int> m_nRequests = 0;
    std::atomic<bool> m_bStall = false;
    CFixedClock m_clock { FixedNow() };
    std::unique_ptr<CQuotinoApp> m_pApp;
    std::vector<std::string> m_record;
    int m_nSteps = 0;
    std::map<int, std::map<std::string, std::string>> m_lastSeen; // by template
};
