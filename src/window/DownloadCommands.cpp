#include "window/DownloadCommands.h"

#include "app/QuotinoApp.h"
#include "platform/UserInterface.h"
#include "prices/DownloadRun.h"
#include "serverlist/ServerListRun.h"
#include "window/ControlIds.h"
#include "window/Desktop.h"
#include "window/MainWindowView.h"

#include <utility>

namespace {

// The folder part of a path, without the last separator; empty for a bare name.
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

CDownloadCommands::CDownloadCommands(CQuotinoApp& app, IMainWindowView& view, IDesktop& desktop,
    IUserInterface& ui, SWindowHooks hooks)
    : m_app(app)
    , m_view(view)
    , m_desktop(desktop)
    , m_ui(ui)
    , m_hooks(std::move(hooks))
    , m_pAlive(std::make_shared<CDownloadCommands*>(this))
{
    // The worker's thread only posts: everything else happens on the window's thread.
    std::weak_ptr<CDownloadCommands*> alive = m_pAlive;
    m_finished = m_app.SubscribeFinished([alive, &desktop] {
        desktop.Post([alive] {
            if (const auto self = alive.lock())
                (*self)->OnTransfersFinished();
        });
    });
}

CDownloadCommands::~CDownloadCommands()
{
    m_finished.Reset();
    m_app.CancelTransfers();
}

void CDownloadCommands::Download()
{
    if (IsBusy())
        return;
    Begin(ECommand::Download);
    m_strDownloadServer = m_hooks.selectedServer();
    m_pRun = m_app.NewDownloadRun({ m_strDownloadServer });
    m_pRun->Start();
    ApplyNextServer();
}

void CDownloadCommands::DownloadAll()
{
    if (IsBusy())
        return;
    m_view.SetText(IDC_DATE, m_app.GetText("Txt_DownloadAll") + "...");
    m_view.RepaintNow(IDC_DATE);
    Begin(ECommand::DownloadAll);
    m_pRun = m_app.NewDownloadAllRun([this](const std::string& name) {
        m_view.SetText(IDC_MARKET_DATE, name);
        m_view.RepaintNow(IDC_MARKET_DATE);
    });
    m_pRun->Start();
    ApplyNextServer();
}

void CDownloadCommands::LoadServerList(bool atStart)
{
    if (IsBusy())
        return;
    if (atStart)
        m_app.ClearServerListUpdateDue();
    Begin(ECommand::ServerList);
    m_pListRun = m_app.NewServerListRun(atStart ? kStartupListSeconds : 0);
    m_pListRun->Start();
    if (m_pListRun->IsDone())
        FinishServerList();
}

bool CDownloadCommands::ImportPriceList(const std::string& path)
{
    if (IsBusy())
        return false;
    m_strImportFolder = FolderOf(path);
    const bool imported = m_app.ImportPriceList(m_hooks.selectedServer(), path);
    m_hooks.recalculatePrices();
    m_hooks.commandFinished();
    return imported;
}

bool CDownloadCommands::ChangesPricesOf(const std::string& server) const
{
    switch (m_eCommand) {
    case ECommand::Download:
        return server == m_strDownloadServer;
    // Every offered server, and only those are offered for selection.
    case ECommand::DownloadAll:
        return true;
    // A list that arrived is being applied: the servers may change, the user may be asked.
    case ECommand::ServerList:
        return !m_pListRun;
    default:
        return false;
    }
}

bool CDownloadCommands::PastePriceList(const std::string& text)
{
    if (IsBusy())
        return false;
    const bool pasted = m_app.PastePriceList(m_hooks.selectedServer(), text);
    m_hooks.recalculatePrices();
    m_hooks.commandFinished();
    return pasted;
}

void CDownloadCommands::ShowOutcome()
{
    m_view.SetToolTip(IDC_DATE, m_app.OutcomeTooltip(m_hooks.selectedServer()));
}

void CDownloadCommands::Begin(ECommand command)
{
    m_app.BeginNetworkCommand();
    m_eCommand = command;
    // Download all shows its progress in the labels instead.
    m_pWait = std::make_unique<CWaitCursor>(command == ECommand::DownloadAll ? nullptr : &m_ui);
}

void CDownloadCommands::OnTransfersFinished()
{
    TakeArrived();
    if (m_pRun)
        QueueApply();
    else if (m_pListRun && m_pListRun->IsDone())
        FinishServerList();
}

void CDownloadCommands::TakeArrived()
{
    for (STransferResponse& response : m_app.TakeFinished()) {
        // Responses of a stopped command arrive late and belong to no run.
        if (m_pRun)
            m_pRun->OnFinished(std::move(response));
        else if (m_pListRun)
            m_pListRun->OnFinished(response);
    }
}

// One server per turn of the event loop: input and painting come between two.
void CDownloadCommands::ApplyNextServer()
{
    m_bApplyQueued = false;
    if (!m_pRun)
        return;
    const bool applied = m_pRun->ApplyNext();
    if (m_pRun->IsDone())
        Finish();
    else if (applied)
        QueueApply();
}

void CDownloadCommands::QueueApply()
{
    if (m_bApplyQueued)
        return;
    m_bApplyQueued = true;
    std::weak_ptr<CDownloadCommands*> alive = m_pAlive;
    m_desktop.Post([alive] {
        if (const auto self = alive.lock())
            (*self)->ApplyNextServer();
    });
}

void CDownloadCommands::Stop()
{
    if (m_pRun) {
        // Lists that arrived while their notification still waits among the window's events
        // are kept like the others.
        TakeArrived();
        m_pRun->Stop();
        Finish();
    } else if (m_pListRun) {
        m_pListRun->Stop();
        FinishServerList();
    }
}

void CDownloadCommands::Finish()
{
    const std::unique_ptr<CDownloadRun> run = std::move(m_pRun);
    if (m_eCommand == ECommand::DownloadAll)
        m_app.RecordDownloadAll(*run);
    m_pWait.reset();
    m_eCommand = ECommand::None;
    m_hooks.recalculatePrices();
    m_hooks.commandFinished();
}

// The list is applied on this thread; the update notice it may show runs modally, so the
// command counts as running until the list is in.
void CDownloadCommands::FinishServerList()
{
    const std::unique_ptr<CServerListRun> run = std::move(m_pListRun);
    m_app.TakeServerList(*run, &m_ui);
    m_pWait.reset();
    m_eCommand = ECommand::None;
    ShowOutcome();
    m_hooks.commandFinished();
}
