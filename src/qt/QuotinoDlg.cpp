#include "qt/QuotinoDlg.h"

#include "app/QuotinoApp.h"
#include "qt/ClipboardListener.h"
#include "qt/DesktopNotifier.h"
#include "qt/FocusFrame.h"
#include "qt/HyperLink.h"
#include "qt/InPlaceEdit.h"
#include "qt/PasteEdit.h"
#include "qt/PriceListEdit.h"
#include "qt/ProgramIcon.h"
#include "qt/QtClipboard.h"
#include "qt/QtText.h"
#include "window/ControlIds.h"
#include "window/WindowUserInterface.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyle>
#include <QTextCursor>
#include <QUrl>
#include <QWindow>

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

SRect ToRect(const QRect& rect)
{
    return { rect.x(), rect.y(), rect.width(), rect.height() };
}

} // namespace

CQuotinoDlg::CQuotinoDlg(CQuotinoApp& app, IUserInterface* ui, IClipboard* clipboard,
    INotifier* notifier, QWidget* parent)
    : QDialog(parent)
    , CQtControls(*this, [this](int id) { return m_builder.Control(id); })
    , m_app(app)
    , m_pOwnUi(ui ? nullptr
                  : std::make_unique<CWindowUserInterface>(
                      app.Texts(), static_cast<IMainWindowView&>(*this)))
    , m_pOwnClipboard(clipboard ? nullptr : std::make_unique<CQtClipboard>())
    , m_pUi(ui ? ui : m_pOwnUi.get())
    , m_pClipboard(clipboard ? clipboard : m_pOwnClipboard.get())
    , m_pOwnNotifier(notifier ? nullptr
                              : std::make_unique<CDesktopNotifier>(
                                  [this] { BringToFront(); }, QApplication::windowIcon()))
    , m_pNotifier(notifier ? notifier : m_pOwnNotifier.get())
    , m_builder(CDialogTemplate::Load(IDD_MAIN))
    , m_pMain(std::make_unique<CMainWindow>(app, static_cast<IMainWindowView&>(*this),
          static_cast<IDesktop&>(*this), *m_pUi, *m_pClipboard))
{
    CreateControls();
    ConnectCommands();
    if (!m_pMain->OnInit()) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    // Windows show the application icon that main() sets; decode it again only without one.
    if (QApplication::windowIcon().isNull())
        setWindowIcon(ProgramIcon());
    qApp->installEventFilter(this);
    setAcceptDrops(true);
    m_pClipboardListener
        = new CClipboardListener([this] { m_pMain->OnClipboardChanged(isActiveWindow()); }, this);
}

CQuotinoDlg::~CQuotinoDlg()
{
    qApp->removeEventFilter(this);
    m_pMain.reset();
    // An open price editor would commit when it loses the focus during destruction.
    qDeleteAll(findChildren<CInPlaceEdit*>());
}

void CQuotinoDlg::CreateControls()
{
    m_builder.SetFactory(IDC_INPUT, [](QWidget* owner) { return new CPasteEdit(owner); });
    m_builder.SetFactory(IDC_PRICE_LIST, [](QWidget* owner) { return new CPriceListEdit(owner); });
    m_builder.SetFactory(IDC_LINK, [](QWidget* owner) { return new CHyperLink(owner); });
    m_builder.Build(*this);
    CFocusFrame::Attach(*Control<QPlainTextEdit>(IDC_REPORT));
    CFocusFrame::Attach(*Control<QPlainTextEdit>(IDC_PRICE_LIST));
}

void CQuotinoDlg::ConnectCommands()
{
    connect(Control<QPushButton>(IDC_CALCULATE), &QPushButton::clicked, this, &QDialog::accept);
    connect(Control<QPushButton>(IDC_CLOSE), &QPushButton::clicked, this, [this] {
        if (m_pMain->OnCloseRequest(CMainWindow::ECloseBy::CloseButton))
            QDialog::reject();
    });
    for (const int id : { IDC_DOWNLOAD, IDC_DOWNLOAD_ALL, IDC_LOAD_SERVER_LIST, IDC_TOGGLE_PANE,
             IDC_SELECT_SERVERS, IDC_DETAILS, IDC_MAX_FARM }) {
        connect(Control<QAbstractButton>(id), &QAbstractButton::clicked, this,
            [this, id] { m_pMain->OnCommand(id); });
    }
    connect(Control<QComboBox>(IDC_SERVERS), &QComboBox::currentIndexChanged, this,
        [this] { m_pMain->OnCommand(IDC_SERVERS); });
    connect(Control<CPriceListEdit>(IDC_PRICE_LIST), &CPriceListEdit::EditPrice, this,
        &CQuotinoDlg::OnEditPrice);
    Control<CPasteEdit>(IDC_INPUT)->SetPasteHandler([this] { m_pMain->OnPaste(); });
    // Where the platform offers no system menu, F1 and the window's context menu carry About.
    AddCommand(IDM_ABOUT, QKeySequence(Qt::Key_F1));
    AddCommand(IDM_LANGUAGE);
    AddCommand(IDM_IMPORT);
    // Ctrl+V pastes a shopping list into the input; with Shift it takes a price list instead.
    AddCommand(IDM_PASTE_PRICES, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    AddCommand(IDM_EXPORT_PRICES);
    AddCommand(IDM_WATCH_CLIPBOARD);
    // A menu of its own, so that a disabled command can say why in its tooltip.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &CQuotinoDlg::ShowContextMenu);
}

void CQuotinoDlg::AddCommand(int command, QKeySequence shortcut)
{
    auto* action = new QAction(this);
    action->setShortcut(shortcut);
    action->setVisible(false);
    connect(action, &QAction::triggered, this, [this, command] { m_pMain->OnCommand(command); });
    addAction(action);
    m_commands.insert(command, action);
}

void CQuotinoDlg::ShowContextMenu(const QPoint& position)
{
    QMenu menu(this);
    menu.setToolTipsVisible(true);
    menu.addActions(actions());
    menu.exec(mapToGlobal(position));
}

// A click on the verdict's notification.
void CQuotinoDlg::BringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void CQuotinoDlg::accept()
{
    m_pMain->OnCommand(IDC_CALCULATE);
}

void CQuotinoDlg::reject()
{
    if (m_pMain->OnCloseRequest(CMainWindow::ECloseBy::EscapeKey))
        QDialog::reject();
}

void CQuotinoDlg::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_pMain->OnActivate();
}

// The base class would take the frame's close for Escape.
void CQuotinoDlg::closeEvent(QCloseEvent* event)
{
    if (!m_pMain->OnCloseRequest(CMainWindow::ECloseBy::WindowFrame)) {
        event->ignore();
        return;
    }
    QDialog::reject();
    event->accept();
}

bool CQuotinoDlg::event(QEvent* event)
{
    if (!m_bFramePlaced
        && (event->type() == QEvent::WindowActivate || event->type() == QEvent::Move))
        PlaceFrameOnScreen();
    return QDialog::event(event);
}

void CQuotinoDlg::PlaceFrameOnScreen()
{
    const QScreen* screen = this->screen();
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (!screen || !isVisible() || frame.isNull())
        return;
    m_bFramePlaced = true;
    const QRect framed = geometry().marginsAdded(frame);
    const SPoint place = m_pMain->OnFramed(ToRect(framed), ToRect(screen->availableGeometry()));
    move(place.x, place.y);
}

void CQuotinoDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!isMinimized()) {
        m_pMain->OnResize(ClientSize());
        update();
    }
}

bool CQuotinoDlg::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return QDialog::eventFilter(watched, event);
    if (m_pMain->IsBusy())
        return FilterWhileBusy(*widget, *event);
    return HandleDrop(*event);
}

// Escape and the Close button reach the window: Escape stops the command, Close stops it and
// closes. Other input waits until it ended.
bool CQuotinoDlg::FilterWhileBusy(const QWidget& widget, QEvent& event)
{
    if (!IsUserInput(event))
        return false;
    if (event.type() == QEvent::KeyPress && static_cast<QKeyEvent&>(event).key() == Qt::Key_Escape)
        return false;
    const bool click
        = event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonRelease;
    if (click && CMainWindow::TakesClicksWhileBusy(CDialogBuilder::ControlId(&widget)))
        return false;
    // An accepted override keeps the window's shortcuts (F1) from firing.
    event.setAccepted(event.type() == QEvent::ShortcutOverride);
    return true;
}

bool CQuotinoDlg::HandleDrop(QEvent& event)
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
        m_pMain->OnImport(path.toUtf8().toStdString());
        return true;
    }
    default:
        return false;
    }
}

void CQuotinoDlg::OnEditPrice(const NMPRICELINE& line)
{
    if (!m_pMain->OpensPriceEditor(line.strName))
        return;
    CInPlaceEdit::Create(line, CMainWindow::kPriceEditorSelectsAll,
        [this](const std::string& name, const std::string& text) {
            m_pMain->OnPriceEdited(name, text);
        });
}

void CQuotinoDlg::ReplaceTextUndoably(int id, const std::string& text)
{
    auto* edit = Control<QPlainTextEdit>(id);
    if (!edit)
        return;
    QTextCursor cursor(edit->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(ToQString(text));
    cursor.endEditBlock();
    edit->moveCursor(QTextCursor::Start);
}

void CQuotinoDlg::SetTextKeepingScroll(int id, const std::string& text)
{
    auto* edit = Control<QPlainTextEdit>(id);
    if (!edit)
        return;
    const int position = edit->verticalScrollBar()->value();
    edit->setPlainText(ToQString(text));
    edit->verticalScrollBar()->setValue(position);
}

void CQuotinoDlg::SetTabStops(int id, const std::vector<double>& stops)
{
    auto* edit = Control<QPlainTextEdit>(id);
    if (!edit)
        return;
    QList<QTextOption::Tab> tabs;
    for (const double stop : stops)
        tabs.append(QTextOption::Tab(stop, QTextOption::LeftTab));
    QTextOption option = edit->document()->defaultTextOption();
    // Setting the same stops would lay the whole text out again.
    if (option.tabs() == tabs)
        return;
    option.setTabs(tabs);
    edit->document()->setDefaultTextOption(option);
}

double CQuotinoDlg::DialogUnitsToPixelsX(int units) const
{
    return m_builder.Units().ToPixelsX(units);
}

double CQuotinoDlg::TextWidth(int id, std::string_view text) const
{
    const QWidget* control = Control(id);
    if (!control)
        return 0;
    SCharWidths& cache = m_charWidths[id];
    if (control->font() != cache.font) {
        cache.font = control->font();
        cache.widths.clear();
    }
    const QFontMetricsF metrics(cache.font);
    double width = 0;
    for (const QChar c : ToQString(text)) {
        auto found = cache.widths.constFind(c.unicode());
        if (found == cache.widths.cend())
            found = cache.widths.insert(c.unicode(), metrics.horizontalAdvance(c));
        width += *found;
    }
    return width;
}

void CQuotinoDlg::RepaintNow(int id)
{
    if (QWidget* control = Control(id))
        control->repaint();
}

void CQuotinoDlg::SetCommandText(int command, const std::string& text)
{
    if (QAction* action = m_commands.value(command)) {
        action->setText(ToQString(text));
        action->setVisible(!text.empty());
    }
}

void CQuotinoDlg::SetCommandChecked(int command, bool checked)
{
    if (QAction* action = m_commands.value(command)) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

void CQuotinoDlg::DisableCommand(int command, const std::string& why)
{
    if (QAction* action = m_commands.value(command)) {
        action->setEnabled(false);
        action->setToolTip(ToQString(why));
    }
}

bool CQuotinoDlg::HearsClipboardInBackground() const
{
    return CClipboardListener::HearsInBackground();
}

void CQuotinoDlg::UseLanguage(const std::string& code)
{
    m_qtTranslation.Load(code);
}

std::string CQuotinoDlg::ChooseImportFile(
    const std::string& title, const std::string& filterName, const std::string& folder)
{
    const QString priceLists = ToQString(filterName) + QStringLiteral(" (*.txt *.tsv *.csv)");
    const QString known = QString::fromStdString(folder);
    const QString start = !known.isEmpty() && QDir(known).exists() ? known : QDir::homePath();
    const QString path = QFileDialog::getOpenFileName(this, ToQString(title), start,
        priceLists + QStringLiteral(";;") + QFileDialog::tr("All Files (*)"));
    return path.toUtf8().toStdString();
}

std::string CQuotinoDlg::ChooseExportFile(
    const std::string& title, const std::string& filterName, const std::string& suggestedName)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QDir folder(
        !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath());
    const QString path = QFileDialog::getSaveFileName(this, ToQString(title),
        folder.filePath(QString::fromStdString(suggestedName)),
        ToQString(filterName) + QStringLiteral(" (*.tsv *.txt)"));
    return path.toUtf8().toStdString();
}

// Before the window is on screen nobody sees a cursor, and loading one from the cursor theme
// would only delay the first report.
void CQuotinoDlg::ShowWaitCursor(bool waiting)
{
    if (waiting && !m_bWaitCursorSet && isVisible()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_bWaitCursorSet = true;
    } else if (!waiting && m_bWaitCursorSet) {
        QGuiApplication::restoreOverrideCursor();
        m_bWaitCursorSet = false;
    }
}

SSize CQuotinoDlg::ClientSize() const
{
    return { width(), height() };
}

void CQuotinoDlg::ResizeClient(SSize size)
{
    resize(size.width, size.height);
}

void CQuotinoDlg::SetMinimumClientSize(SSize size)
{
    setMinimumSize(size.width, size.height);
}

// The screen's available area less the window frame; before the window is first shown its
// frame is not known, so the style's title bar and border stand in for it.
SSize CQuotinoDlg::AvailableClientSize() const
{
    const QScreen* screen = this->screen();
    if (!screen)
        return { QWIDGETSIZE_MAX, QWIDGETSIZE_MAX };
    QSize frame = frameGeometry().size() - size();
    if (frame.isEmpty()) {
        const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        frame = QSize(2 * border, 2 * border + title);
    }
    const QSize available = screen->availableGeometry().size() - frame;
    return { available.width(), available.height() };
}

void CQuotinoDlg::Post(std::function<void()> task)
{
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}
