#include "ui/DownloadController.h"

#include "app/QuotinoApp.h"
#include "platform/UserInterface.h"
#include "prices/DownloadRun.h"
#include "serverlist/ServerListRun.h"
#include "ui/ControlAnchors.h"
#include "ui/QtText.h"
#include "ui/QuotinoDlg.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

namespace {

bool IsUserInput(const QEvent& event)
{
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// The one local file that a drag carries, or an empty path.
QString DroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

CDownloadController::CDownloadController(CQuotinoDlg& window, CQuotinoApp& app, IUserInterface& ui)
    : QObject(nullptr)
    , m_window(window)
    , m_app(app)
    , m_ui(ui)
    , m_pDate(window.Control<QLabel>(IDC_DATE))
    , m_pMarketDate(window.Control<QLabel>(IDC_MARKET_DATE))
    , m_pImport(new QAction(&window))
{
    // The worker's thread only posts: everything else happens here, on the window's thread.
    m_app.m_fetch.SetNotify([this] {
        QMetaObject::invokeMethod(
            this, &CDownloadController::OnTransfersFinished, Qt::QueuedConnection);
    });
    connect(m_pImport, &QAction::triggered, this, &CDownloadController::ChooseAndImport);
    qApp->installEventFilter(this);
    m_window.setAcceptDrops(true);
}

CDownloadController::~CDownloadController()
{
    qApp->removeEventFilter(this);
    m_app.m_fetch.SetNotify(nullptr);
    m_app.m_fetch.CancelAll();
}

void CDownloadController::AddImportCommand()
{
    RelabelImportCommand();
    m_window.addAction(m_pImport);
    m_window.setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CDownloadController::RelabelImportCommand()
{
    m_pImport->setText(ToQString(m_app.GetText("Txt_ImportPriceList")));
}

void CDownloadController::Download()
{
    if (IsBusy())
        return;
    Begin(ECommand::Download);
    m_pRun = std::make_unique<CDownloadRun>(m_app.m_downloader, m_app.m_fetch,
        std::vector<std::string> { FromQString(m_window.SelectedServer()) });
    m_pRun->Start();
    ApplyNextServer();
}

void CDownloadController::DownloadAll()
{
    if (IsBusy())
        return;
    m_pDate->setText(ToQString(m_app.GetText("Txt_DownloadAll") + "..."));
    m_pDate->repaint();
    Begin(ECommand::DownloadAll);
    m_pRun = std::make_unique<CDownloadRun>(
        m_app.m_downloader, m_app.m_fetch, m_app.m_downloader.OfferedServers());
    m_pRun->m_fnProgress = [this](const std::string& name) {
        m_pMarketDate->setText(ToQString(name));
        m_pMarketDate->repaint();
    };
    m_pRun->Start();
    ApplyNextServer();
}

void CDownloadController::LoadServerList(bool atStart)
{
    if (IsBusy())
        return;
    if (atStart)
        m_app.ClearServerListUpdateDue();
    Begin(ECommand::ServerList);
    m_pListRun = std::make_unique<CServerListRun>(
        m_app.m_profile, m_app.m_fetch, atStart ? kStartupListSeconds : 0);
    m_pListRun->Start();
    if (m_pListRun->IsDone())
        FinishServerList();
}

bool CDownloadController::ImportPriceList(const QString& path)
{
    if (IsBusy())
        return false;
    m_app.m_outcomes.ForgetServerList();
    m_strImportFolder = QFileInfo(path).absolutePath();
    const std::string server = FromQString(m_window.SelectedServer());
    const bool imported = m_app.m_downloader.ImportPriceList(server, path.toUtf8().toStdString());
    m_window.RecalculatePrices();
    emit CommandFinished();
    return imported;
}

void CDownloadController::ChooseAndImport()
{
    const QString priceLists
        = ToQString(m_app.GetText("Txt_PriceListFilter")) + QStringLiteral(" (*.txt *.tsv *.csv)");
    const bool known = !m_strImportFolder.isEmpty() && QDir(m_strImportFolder).exists();
    const QString folder = known ? m_strImportFolder : QDir::homePath();
    const QString path = QFileDialog::getOpenFileName(&m_window, m_pImport->text(), folder,
        priceLists + QStringLiteral(";;") + QFileDialog::tr("All Files (*)"));
    if (!path.isEmpty())
        ImportPriceList(path);
}

void CDownloadController::ShowOutcome()
{
    const std::string server = FromQString(m_window.SelectedServer());
    m_pDate->setToolTip(ToQString(m_app.m_outcomes.Tooltip(server, m_app.m_texts)));
}

void CDownloadController::Begin(ECommand command)
{
    m_app.m_outcomes.ForgetServerList();
    m_app.PrepareFetch();
    m_eCommand = command;
    m_pWait = std::make_unique<CWaitCursor>(command == ECommand::DownloadAll ? nullptr : &m_ui);
}

void CDownloadController::OnTransfersFinished()
{
    for (STransferResponse& response : m_app.m_fetch.TakeFinished()) {
        // Responses of a stopped command arrive late and belong to no run.
        if (m_pRun)
            m_pRun->OnFinished(std::move(response));
        else if (m_pListRun)
            m_pListRun->OnFinished(response);
    }
    if (m_pRun)
        QueueApply();
    else if (m_pListRun && m_pListRun->IsDone())
        FinishServerList();
}

// One server per turn of the event loop: input and painting come between two.
void CDownloadController::ApplyNextServer()
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

void CDownloadController::QueueApply()
{
    if (m_bApplyQueued)
        return;
    m_bApplyQueued = true;
    QMetaObject::invokeMethod(this, &CDownloadController::ApplyNextServer, Qt::QueuedConnection);
}

void CDownloadController::Stop()
{
    if (m_pRun) {
        m_pRun->Stop();
        Finish();
    } else if (m_pListRun) {
        m_pListRun->Stop();
        FinishServerList();
    }
}

void CDownloadController::Finish()
{
    const std::unique_ptr<CDownloadRun> run = std::move(m_pRun);
    if (m_eCommand == ECommand::DownloadAll)
        m_app.m_outcomes.RecordDownloadAll(run->Failed(), run->Count(), run->Applied());
    m_pWait.reset();
    m_eCommand = ECommand::None;
    m_window.RecalculatePrices();
    emit CommandFinished();
}

// The list is applied on this thread; the update notice it may show runs modally, so the
// command counts as running until the list is in.
void CDownloadController::FinishServerList()
{
    const std::unique_ptr<CServerListRun> run = std::move(m_pListRun);
    m_app.m_outcomes.RecordServerList(run->Outcome());
    if (run->Succeeded())
        m_app.m_serverList.ApplyServerList(run->Body(), &m_ui);
    m_pWait.reset();
    m_eCommand = ECommand::None;
    ShowOutcome();
    emit CommandFinished();
}

bool CDownloadController::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &m_window)
        return QObject::eventFilter(watched, event);
    if (IsBusy())
        return FilterWhileBusy(*event);
    return HandleDrop(*event);
}

// Escape stops the command; it still reaches the window as its cancel command, which the
// window swallows once, so the window stays open. Closing stops the command and closes.
bool CDownloadController::FilterWhileBusy(QEvent& event)
{
    if (event.type() == QEvent::Close) {
        Stop();
        return false;
    }
    if (!IsUserInput(event))
        return false;
    if (event.type() == QEvent::KeyPress
        && static_cast<QKeyEvent&>(event).key() == Qt::Key_Escape) {
        m_window.IgnoreNextCancel();
        Stop();
        return false;
    }
    // An accepted override keeps the window's shortcuts (F1) from firing.
    event.setAccepted(event.type() == QEvent::ShortcutOverride);
    return true;
}

bool CDownloadController::HandleDrop(QEvent& event)
{
    switch (event.type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto& drag = static_cast<QDropEvent&>(event);
        if (DroppedFile(drag.mimeData()).isEmpty())
            return false;
        drag.acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto& drop = static_cast<QDropEvent&>(event);
        const QString path = DroppedFile(drop.mimeData());
        if (path.isEmpty())
            return false;
        drop.acceptProposedAction();
        ImportPriceList(path);
        return true;
    }
    default:
        return false;
    }
}
