#include "ui/QuotinoDlg.h"

#include "app/QuotinoApp.h"
#include "calc/ListPaste.h"
#include "platform/UserInterface.h"
#include "ui/AboutDlg.h"
#include "ui/ColumnStops.h"
#include "ui/DetailsDlg.h"
#include "ui/DownloadController.h"
#include "ui/FocusFrame.h"
#include "ui/HyperLink.h"
#include "ui/InPlaceEdit.h"
#include "ui/PasteEdit.h"
#include "ui/PriceListEdit.h"
#include "ui/ProgramIcon.h"
#include "ui/QtClipboard.h"
#include "ui/QtText.h"
#include "ui/QtUserInterface.h"
#include "ui/ServerDlg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextCursor>
#include <QWindow>

namespace {

constexpr const char* kSettings = "Settings";

// Replaces an edit's text, keeping the part of it that was scrolled into view.
void SetTextKeepingScroll(QPlainTextEdit& edit, const QString& text)
{
    const int position = edit.verticalScrollBar()->value();
    edit.setPlainText(text);
    edit.verticalScrollBar()->setValue(position);
}

// Replaces an edit's whole text as one step that Undo takes back.
void ReplaceUndoably(QPlainTextEdit& edit, const QString& text)
{
    QTextCursor cursor(edit.document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    cursor.endEditBlock();
    edit.moveCursor(QTextCursor::Start);
}

} // namespace

CQuotinoDlg::CQuotinoDlg(
    CQuotinoApp& app, IUserInterface* ui, IClipboard* clipboard, QWidget* parent)
    : QDialog(parent)
    , m_app(app)
    , m_pOwnUi(ui ? nullptr : std::make_unique<CQtUserInterface>(app.m_texts, this))
    , m_pOwnClipboard(clipboard ? nullptr : std::make_unique<CQtClipboard>())
    , m_pUi(ui ? ui : m_pOwnUi.get())
    , m_pClipboard(clipboard ? clipboard : m_pOwnClipboard.get())
    , m_calc(app.m_catalog, app.m_texts, app.m_servers, app.m_settings)
    , m_builder(CDialogTemplate::Load(102))
{
    CreateControls();
    ConnectCommands();
    OnInitDialog();
}

CQuotinoDlg::~CQuotinoDlg()
{
    m_pDownloads.reset();
    m_app.m_serverList.m_fnRefillServers = nullptr;
    // An open price editor would commit when it loses the focus during destruction.
    qDeleteAll(findChildren<CInPlaceEdit*>());
}

void CQuotinoDlg::CreateControls()
{
    m_builder.SetFactory(IDC_INPUT, [](QWidget* owner) { return new CPasteEdit(owner); });
    m_builder.SetFactory(IDC_PRICE_LIST, [](QWidget* owner) { return new CPriceListEdit(owner); });
    m_builder.SetFactory(IDC_LINK, [](QWidget* owner) { return new CHyperLink(owner); });
    m_builder.Build(*this);

    m_pInput = Control<CPasteEdit>(IDC_INPUT);
    m_pReport = Control<QPlainTextEdit>(IDC_REPORT);
    m_pPriceList = Control<CPriceListEdit>(IDC_PRICE_LIST);
    m_pServers = Control<QComboBox>(IDC_SERVERS);
    m_pDate = Control<QLabel>(IDC_DATE);
    m_pMarketDate = Control<QLabel>(IDC_MARKET_DATE);
    m_pLocked = Control<QCheckBox>(IDC_LOCKED);
    m_pMaxFarm = Control<QCheckBox>(IDC_MAX_FARM);
    m_pLink = Control<CHyperLink>(IDC_LINK);
    CFocusFrame::Attach(*m_pReport);
    CFocusFrame::Attach(*m_pPriceList);
    SetTabOrder();
}

// The visual order: the server row, the edits column by column, then the buttons left to right.
void CQuotinoDlg::SetTabOrder()
{
    const int order[] = { IDC_SERVERS, IDC_SELECT_SERVERS, IDC_MAX_FARM, IDC_INPUT, IDC_REPORT,
        IDC_PRICE_LIST, IDC_CALCULATE, IDC_DOWNLOAD, IDC_DOWNLOAD_ALL, IDC_LOAD_SERVER_LIST,
        IDC_LOCKED, IDC_DETAILS, IDC_TOGGLE_PANE, IDC_CLOSE };
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(Control(order[i - 1]), Control(order[i]));
}

void CQuotinoDlg::ConnectCommands()
{
    const auto onClick = [this](int id, void (CQuotinoDlg::*handler)()) {
        connect(Control<QPushButton>(id), &QPushButton::clicked, this, handler);
    };
    onClick(IDC_CALCULATE, &CQuotinoDlg::accept);
    onClick(IDC_CLOSE, &CQuotinoDlg::reject);
    onClick(IDC_DOWNLOAD, &CQuotinoDlg::OnDownload);
    onClick(IDC_DOWNLOAD_ALL, &CQuotinoDlg::OnDownloadAll);
    onClick(IDC_LOAD_SERVER_LIST, &CQuotinoDlg::OnLoadServerList);
    onClick(IDC_TOGGLE_PANE, &CQuotinoDlg::OnTogglePriceList);
    onClick(IDC_SELECT_SERVERS, &CQuotinoDlg::OnSelectServers);
    onClick(IDC_DETAILS, &CQuotinoDlg::OnDetails);
    connect(m_pMaxFarm, &QCheckBox::clicked, this, &CQuotinoDlg::OnMaxFarm);
    connect(m_pServers, &QComboBox::currentIndexChanged, this, &CQuotinoDlg::OnServerChange);
    connect(m_pPriceList, &CPriceListEdit::EditPrice, this, &CQuotinoDlg::OnEditPrice);
    m_pInput->SetPasteHandler([this] { PasteList(); });
    m_pDownloads = std::make_unique<CDownloadController>(*this, m_app, *m_pUi);
    connect(m_pDownloads.get(), &CDownloadController::CommandFinished, this,
        [this] { m_app.SaveChanges(); });
    // A server list update, also the one the start-up runs, refills the server box.
    m_app.m_serverList.m_fnRefillServers = [this] { FillServerCombo(); };
}

void CQuotinoDlg::OnInitDialog()
{
    if (!m_app.LoadConfiguration(m_calc, *m_pUi)) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    AddAboutCommand();
    AddLanguageCommand();
    m_pDownloads->AddImportCommand();

    // On a small screen, or at a large scale factor, the template would not fit: the window
    // may then get smaller than the template, and the layout rules hold within that.
    m_templateSize = size();
    m_minSize = m_templateSize.boundedTo(AvailableSize());
    setMinimumSize(m_minSize);
    m_anchors.Capture([this](int id) { return Control(id); });
    RestoreWindowSize();

    m_calc.ReadTexts();
    ApplyTexts();
    m_pLocked->setChecked(true);
    m_pMaxFarm->setChecked(m_app.m_settings.m_bMaxFarm);

    m_rcInput = m_pInput->geometry();
    m_rcReport = m_pReport->geometry();
    m_anchors.ShowPriceList(m_app.m_settings.m_bPreisListe, m_rcInput, m_rcReport);
    // Windows show the application icon that main() sets; decode it again only without one.
    if (QApplication::windowIcon().isNull())
        setWindowIcon(ProgramIcon());
    m_bInitialised = true;

    TakeListFromClipboard(true);
    m_builder.SetTabStops(*m_pReport, { 20, 95, 155, 215, 275 });
    m_builder.SetTabStops(*m_pPriceList, { 70, 110 });
    m_reportStops = CColumnStops(*m_pReport);
    m_priceListStops = CColumnStops(*m_pPriceList);
    // Choosing the stored server calculates the first report, with the list just taken.
    FillServerCombo();
    m_pInput->setFocus(Qt::OtherFocusReason);
    if (m_app.IsServerListUpdateDue())
        m_pDownloads->LoadServerList(true);
}

// Where the platform offers no system menu, F1 and the window's context menu carry About. The
// command shows only while the language has a text for it.
void CQuotinoDlg::AddAboutCommand()
{
    m_pAboutAction = new QAction(this);
    m_pAboutAction->setShortcut(QKeySequence(Qt::Key_F1));
    connect(m_pAboutAction, &QAction::triggered, this, &CQuotinoDlg::OnAbout);
    addAction(m_pAboutAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CQuotinoDlg::AddLanguageCommand()
{
    m_pLanguageAction = new QAction(this);
    connect(m_pLanguageAction, &QAction::triggered, this, &CQuotinoDlg::OnChangeLanguage);
    addAction(m_pLanguageAction);
}

// The screen's available area less the window frame; before the window is first shown its
// frame is not known, so the style's title bar and border stand in for it.
QSize CQuotinoDlg::AvailableSize() const
{
    const QScreen* screen = this->screen();
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    QSize frame = frameGeometry().size() - size();
    if (frame.isEmpty()) {
        const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        frame = QSize(2 * border, 2 * border + title);
    }
    return screen->availableGeometry().size() - frame;
}

// The size is stored and restored as the window's own size without the frame: the frame is
// only known once the window is on screen, so a measure including it would let the window
// grow by its frame at every start.
void CQuotinoDlg::RestoreWindowSize()
{
    m_restoredSize = CControlAnchors::RestoredSize(
        m_app.m_profile.GetString(kSettings, "WinSize", ""), m_minSize, AvailableSize());
    if (m_restoredSize == size())
        return;
    resize(m_restoredSize);
    // A hidden window gets its resize event only when shown; the edits' rectangles are
    // recorded from the laid-out window right after this.
    RecalcLayout();
}

// Everything the window shows in the chosen language, at start and after a language change.
void CQuotinoDlg::ApplyTexts()
{
    m_qtTranslation.Load(m_app.GetText("Txt_LanguageCode"));
    Relabel();
    ShowLinkLine();
    SetToolTips();
    m_pMaxFarm->setText(ToQString("<= " + m_calc.m_reportTexts.Txt_Origin));
    const std::string about = m_app.GetText("Txt_About");
    m_pAboutAction->setText(ToQString(about));
    m_pAboutAction->setVisible(!about.empty());
    // The language dialog speaks English, so its command must be found in any language.
    const std::string language = m_app.GetText("Txt_Language");
    m_pLanguageAction->setText(
        language.empty() ? QStringLiteral("Language...") : ToQString(language));
    m_pDownloads->RelabelImportCommand();
    m_calc.m_strDateLabel = FromQString(m_pDate->text());
}

void CQuotinoDlg::Relabel()
{
    setWindowTitle(ToQString(m_app.GetText("Txt_Title")));
    const std::pair<int, const char*> labels[] = {
        { IDC_SERVER_LABEL, "Txt_Server" },
        { IDC_DATE, "Txt_Date" },
        { IDC_CALCULATE, "Txt_Calc" },
        { IDC_DOWNLOAD, "Txt_Download" },
        { IDC_DOWNLOAD_ALL, "Txt_DownloadAll" },
        { IDC_LOAD_SERVER_LIST, "Txt_LoadServerList" },
        { IDC_CLOSE, "Txt_Close" },
        { IDC_LOCKED, "Txt_Locked" },
    };
    for (const auto& [id, key] : labels) {
        const QString text = ToQString(m_app.GetText(key));
        if (auto* label = Control<QLabel>(id))
            label->setText(text);
        else if (auto* button = Control<QAbstractButton>(id))
            button->setText(text);
    }
}

// Without a target the line would show its placeholder text, underlined, leading nowhere.
void CQuotinoDlg::ShowLinkLine()
{
    const CReportTexts& texts = m_calc.m_reportTexts;
    const bool hasTarget = !texts.Txt_Adv.empty() && !texts.Txt_Adv_Link.empty();
    if (hasTarget) {
        m_pLink->SetLinkText(texts.Txt_Adv);
        m_pLink->SetLinkUrl(texts.Txt_Adv_Link);
    }
    m_pLink->setVisible(hasTarget);
}

void CQuotinoDlg::SetToolTips()
{
    const std::pair<int, const char*> tips[] = {
        { IDC_SELECT_SERVERS, "Txt_TipServers" },
        { IDC_TOGGLE_PANE, "Txt_TipPriceList" },
        { IDC_DETAILS, "Txt_TipDetails" },
    };
    for (const auto& [id, key] : tips)
        Control(id)->setToolTip(ToQString(m_app.GetText(key)));
}

void CQuotinoDlg::RecalcLayout()
{
    const QSize grown = size() - m_templateSize;
    m_anchors.RecalcLayout(grown.width(), grown.height(), m_app.m_settings.m_bPreisListe);
}

void CQuotinoDlg::Calculate()
{
    CWaitCursor wait(m_pUi);
    const CCalculation result = m_calc.Calculate(FromQString(m_pInput->toPlainText()));
    m_pDate->setText(ToQString(result.strDateLabel));
    m_pMarketDate->setText(ToQString(result.strMarketLabel));
    const QString priceList = ToQString(result.strPriceList);
    const QString report = ToQString(result.strReport);
    if (m_priceListStops && m_reportStops) {
        m_priceListStops->FitTo(*m_pPriceList, priceList);
        m_reportStops->FitTo(*m_pReport, report);
    }
    SetTextKeepingScroll(*m_pPriceList, priceList);
    m_pReport->setPlainText(report);
    m_pDownloads->ShowOutcome();
    emit Calculated();
}

void CQuotinoDlg::FillServerCombo()
{
    const std::string stored = m_app.m_profile.GetString(kSettings, "Server", "");
    {
        const QSignalBlocker quiet(m_pServers);
        m_pServers->clear();
        int selected = -1;
        for (const std::string& name : m_app.m_servers.m_astrServers) {
            if (m_app.m_servers.GetServerInt(name, "Selected", 1) == 0)
                continue;
            m_pServers->addItem(ToQString(name));
            if (name == stored)
                selected = m_pServers->count() - 1;
        }
        // At first start no server is stored: the first one offered lets Download work at once.
        if (stored.empty() && m_pServers->count() > 0)
            selected = 0;
        m_pServers->setCurrentIndex(selected);
    }
    OnServerChange();
}

void CQuotinoDlg::PasteList()
{
    // Replacing the text is the input's change notification; the calculation follows once
    // the current event is done.
    if (TakeListFromClipboard())
        QMetaObject::invokeMethod(this, &CQuotinoDlg::accept, Qt::QueuedConnection);
}

bool CQuotinoDlg::TakeListFromClipboard(bool atStart)
{
    const std::optional<std::string> list = atStart
        ? PasteListAtStart(*m_pClipboard, m_calc.m_templates)
        : ::PasteList(*m_pClipboard, m_calc.m_templates);
    if (list)
        ReplaceUndoably(*m_pInput, ToQString(*list));
    return list.has_value();
}

void CQuotinoDlg::accept()
{
    Calculate();
}

void CQuotinoDlg::reject()
{
    if (m_bIgnoreCancel) {
        m_bIgnoreCancel = false;
        return;
    }
    QDialog::reject();
}

void CQuotinoDlg::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !m_bInitialised || !isActiveWindow())
        return;
    if (ClipboardHasNewList(*m_pClipboard, m_calc.m_templates))
        PasteList();
}

void CQuotinoDlg::closeEvent(QCloseEvent* event)
{
    // At the minimum size a size stored earlier stays, so a window that was once enlarged
    // opens enlarged again; so does it at the size it opened with, which may have been shrunk
    // to fit this screen.
    if (m_bInitialised && size() != m_minSize && size() != m_restoredSize)
        m_app.m_profile.WriteString(kSettings, "WinSize", CControlAnchors::FormatSize(size()));
    QDialog::closeEvent(event);
}

bool CQuotinoDlg::event(QEvent* event)
{
    if (!m_bFramePlaced
        && (event->type() == QEvent::WindowActivate || event->type() == QEvent::Move))
        PlaceFrameOnScreen();
    return QDialog::event(event);
}

// The window was sized for an estimate of its frame and placed before the window manager framed
// it, which may put the title bar above the screen. Once the frame is known, the window is
// narrowed to what the screen holds and moved so that the frame lies on the available area.
void CQuotinoDlg::PlaceFrameOnScreen()
{
    const QScreen* screen = this->screen();
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (!screen || !isVisible() || frame.isNull())
        return;
    m_bFramePlaced = true;
    const QRect available = screen->availableGeometry();
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize fitting = size().boundedTo(available.size() - frameSize);
    if (fitting != size()) {
        m_minSize = m_minSize.boundedTo(fitting);
        m_restoredSize = fitting; // what the window opens with: closing at it stores nothing
        setMinimumSize(m_minSize);
        resize(fitting);
    }
    const QRect framed(
        geometry().topLeft() - QPoint(frame.left(), frame.top()), fitting + frameSize);
    move(CControlAnchors::FramePosition(framed, available));
}

void CQuotinoDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!isMinimized())
        RecalcLayout();
}

void CQuotinoDlg::OnServerChange()
{
    CWaitCursor wait(m_pUi);
    m_calc.m_strServer = FromQString(m_pServers->currentText());
    m_app.m_profile.WriteString(kSettings, "Server", m_calc.m_strServer);
    m_calc.RebuildMarketPrices();
    Calculate();
    m_app.SaveChanges();
}

void CQuotinoDlg::RecalculatePrices()
{
    m_calc.RebuildMarketPrices();
    Calculate();
}

QString CQuotinoDlg::SelectedServer() const
{
    return m_pServers->currentText();
}

void CQuotinoDlg::OnDownload()
{
    m_pDownloads->Download();
}

void CQuotinoDlg::OnDownloadAll()
{
    m_pDownloads->DownloadAll();
}

void CQuotinoDlg::OnLoadServerList()
{
    m_pDownloads->LoadServerList(false);
}

void CQuotinoDlg::OnTogglePriceList()
{
    const bool show = !m_app.m_settings.m_bPreisListe;
    m_app.m_settings.SetPreisListe(show);
    m_anchors.ShowPriceList(show, m_rcInput, m_rcReport);
    RecalcLayout();
    m_app.SaveChanges();
}

void CQuotinoDlg::OnMaxFarm(bool checked)
{
    m_app.m_settings.SetMaxFarm(checked);
    m_calc.RebuildMarketPrices();
    Calculate();
    m_app.SaveChanges();
}

void CQuotinoDlg::OnSelectServers()
{
    CServerDlg dialog(m_app.m_texts, m_app.m_profile, m_app.m_servers, this);
    dialog.exec();
    FillServerCombo();
}

void CQuotinoDlg::OnDetails()
{
    CDetailsDlg dialog(m_app.m_texts, m_app.m_settings, this);
    if (dialog.exec() == QDialog::Accepted) {
        Calculate();
        m_app.SaveChanges();
    }
}

void CQuotinoDlg::OnEditPrice(const NMPRICELINE& line)
{
    if (m_pLocked->isChecked())
        return;
    CInPlaceEdit::Create(line, false, [this](const std::string& name, const std::string& text) {
        if (m_calc.SetMarketPrice(name, text)) {
            Calculate();
            m_app.SaveChanges();
        }
    });
}

void CQuotinoDlg::OnAbout()
{
    CAboutDlg dialog(m_app.m_texts, this);
    dialog.exec();
}

void CQuotinoDlg::OnChangeLanguage()
{
    if (!m_app.ChangeLanguage(m_calc, *m_pUi))
        return;
    ApplyTexts();
    Calculate();
    m_app.SaveChanges();
}
