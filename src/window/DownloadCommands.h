#pragma once

#include "platform/Subscription.h"

#include <functional>
#include <memory>
#include <string>

class CDownloadRun;
class CQuotinoApp;
class CServerListRun;
class CWaitCursor;
class IDesktop;
class IMainWindowView;
class IUserInterface;

// The window's network commands: Download, Download all, the server-list update (button and
// start-up) and the import of a price list from a file. Transfers run on the fetch's worker;
// its notification is posted back to the window's thread, where every result is applied, one
// server per turn of the event loop. While a command runs the face lets no input through but
// Escape and Close, which stop it.
class CDownloadCommands {
public:
    // The start-up's server-list update may not hold the first minutes of a run.
    static constexpr long kStartupListSeconds = 10;

    // What the window does once a command has changed prices or servers; fixed for the
    // commands' life.
    struct SWindowHooks {
        std::function<std::string()> selectedServer;
        std::function<void()> recalculatePrices;
        std::function<void()> commandFinished;
    };

    CDownloadCommands(CQuotinoApp& app, IMainWindowView& view, IDesktop& desktop,
        IUserInterface& ui, SWindowHooks hooks);
    ~CDownloadCommands();

    void Download();
    void DownloadAll();
    void LoadServerList(bool atStart);
    // Reads the file (a UTF-8 path) into the selected server; false when nothing was taken.
    bool ImportPriceList(const std::string& path);
    // Reads a price list copied to the clipboard (its text as the clipboard gave it) into the
    // selected server, exactly as an import; false when nothing was taken.
    bool PastePriceList(const std::string& text);
    bool IsBusy() const { return m_eCommand != ECommand::None; }
    // Whether the running command may change the server's prices.
    bool ChangesPricesOf(const std::string& server) const;
    // Stops the running command at once; every list that arrived is applied, the servers
    // still in flight are left as they were.
    void Stop();
    const std::string& ImportFolder() const { return m_strImportFolder; }

    // The date label's tooltip for the selected server.
    void ShowOutcome();

private:
    enum class ECommand { None, Download, DownloadAll, ServerList };

    void Begin(ECommand command);
    void OnTransfersFinished();
    // Hands the fetch's finished transfers to the running command.
    void TakeArrived();
    void ApplyNextServer();
    void QueueApply();
    void Finish();
    void FinishServerList();

    CQuotinoApp& m_app;
    IMainWindowView& m_view;
    IDesktop& m_desktop;
    IUserInterface& m_ui;
    const SWindowHooks m_hooks;

    ECommand m_eCommand = ECommand::None;
    std::string m_strDownloadServer; // of a running Download
    bool m_bApplyQueued = false;
    std::unique_ptr<CDownloadRun> m_pRun;
    std::unique_ptr<CServerListRun> m_pListRun;
    std::unique_ptr<CWaitCursor> m_pWait;
    // A token that posted tasks hold weakly: a task posted before this object went does
    // nothing.
    std::shared_ptr<CDownloadCommands*> m_pAlive;
    std::string m_strImportFolder; // of the last import in this run
    CSubscription m_finished; // last: it ends before anything its notification reaches
};
