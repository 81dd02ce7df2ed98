#include "window/MainWindow.h"

#include "app/QuotinoApp.h"
#include "platform/Cp1252.h"
#include "platform/SystemError.h"
#include "platform/UserInterface.h"
#include "prices/PriceListFile.h"
#include "window/AboutDialog.h"
#include "window/ControlIds.h"
#include "window/Desktop.h"
#include "window/DetailsChoice.h"
#include "window/ExitSave.h"
#include "window/MainWindowView.h"
#include "window/ServerSelection.h"

#include <algorithm>
#include <utility>

namespace {

// The template's tab stops of the report and the price list pane, in dialog units.
const std::vector<int> kReportStops = { 20, 95, 155, 215, 275 };
const std::vector<int> kPriceListStops = { 70, 110 };

SSize BoundedTo(SSize size, SSize bound)
{
    return { std::min(size.width, bound.width), std::min(size.height, bound.height) };
}

} // namespace

CMainWindow::CMainWindow(CQuotinoApp& app, IMainWindowView& view, IDesktop& desktop,
    IUserInterface& ui, IClipboard& clipboard)
    : m_app(app)
    , m_view(view)
    , m_desktop(desktop)
    , m_ui(ui)
    , m_clipboard(clipboard)
    , m_calc(app.NewOfferCalculator())
    , m_watch(clipboard, m_paste, m_calc.Templates(), app.Texts(), desktop.Notifier())
    , m_downloads(app, view, desktop, ui,
          {
              .selectedServer = [this] { return SelectedServer(); },
              .recalculatePrices = [this] { RecalculatePrices(); },
              .commandFinished = [this] { OnCommandFinished(); },
          })
{
    // A server list update, also the one the start-up runs, refills the server box.
    m_serversChanged = m_app.OnServersChanged([this] { FillServerCombo(); });
}

CMainWindow::~CMainWindow() = default;

bool CMainWindow::OnInit()
{
    if (!m_app.LoadConfiguration(m_calc, m_ui))
        return false;

    // On a small screen, or at a large scale factor, the template would not fit: the window
    // may then get smaller than the template, and the layout rules hold within that.
    m_templateSize = m_view.ClientSize();
    m_minSize = BoundedTo(m_templateSize, m_view.AvailableClientSize());
    m_view.SetMinimumClientSize(m_minSize);
    m_anchors.Capture(m_view);
    RestoreWindowSize();

    m_calc.ReadTexts();
    ApplyTexts();
    m_view.SetChecked(IDC_LOCKED, true);
    m_view.SetChecked(IDC_MAX_FARM, m_app.Settings().CapsAtFarmPrice());

    m_rcInput = m_view.ControlRect(IDC_INPUT);
    m_rcReport = m_view.ControlRect(IDC_REPORT);
    m_anchors.ShowPriceList(m_view, m_app.Settings().ShowsPriceList(), m_rcInput, m_rcReport);
    m_bInitialised = true;

    TakeListFromClipboard(true);
    SetUpColumns();
    // Choosing the stored server calculates the first report, with the list just taken.
    FillServerCombo();
    m_view.SetFocus(IDC_INPUT);
    if (m_app.IsServerListUpdateDue())
        m_downloads.LoadServerList(true);
    return true;
}

// The size is stored and restored as the window's own size without the frame: the frame is
// only known once the window is on screen, so a measure including it would let the window
// grow by its frame at every start.
void CMainWindow::RestoreWindowSize()
{
    m_restoredSize = CControlAnchors::RestoredSize(
        m_app.StoredWindowSize(), m_minSize, m_view.AvailableClientSize());
    if (m_restoredSize == m_view.ClientSize())
        return;
    m_view.ResizeClient(m_restoredSize);
    // The edits' rectangles are recorded from the laid-out window right after this, before a
    // hidden window would learn of its new size.
    RecalcLayout();
}

void CMainWindow::SetUpColumns()
{
    const auto pixels = [this](const std::vector<int>& units) {
        std::vector<double> stops;
        for (const int unit : units)
            stops.push_back(m_view.DialogUnitsToPixelsX(unit));
        return stops;
    };
    m_view.SetTabStops(IDC_REPORT, pixels(kReportStops));
    m_view.SetTabStops(IDC_PRICE_LIST, pixels(kPriceListStops));
    m_reportStops.emplace(pixels(kReportStops));
    m_priceListStops.emplace(pixels(kPriceListStops));
}

// Everything the window shows in the chosen language, at start and after a language change.
void CMainWindow::ApplyTexts()
{
    m_desktop.UseLanguage(m_app.GetText("Txt_LanguageCode"));
    Relabel();
    ShowLinkLine();
    const std::pair<int, const char*> tips[] = {
        { IDC_SELECT_SERVERS, "Txt_TipServers" },
        { IDC_TOGGLE_PANE, "Txt_TipPriceList" },
        { IDC_DETAILS, "Txt_TipDetails" },
    };
    for (const auto& [id, key] : tips)
        m_view.SetToolTip(id, m_app.GetText(key));
    m_view.SetText(IDC_MAX_FARM, "<= " + m_calc.ReportTexts().Txt_Origin);
    m_view.SetCommandText(IDM_ABOUT, m_app.GetText("Txt_About"));
    // The language dialog speaks English, so its command must be found in any language.
    const std::string language = m_app.GetText("Txt_Language");
    m_view.SetCommandText(IDM_LANGUAGE, language.empty() ? "Language..." : language);
    m_view.SetCommandText(IDM_IMPORT, m_app.GetText("Txt_ImportPriceList"));
    m_view.SetCommandText(IDM_PASTE_PRICES, m_app.GetText("Txt_PastePriceList"));
    m_view.SetCommandText(IDM_EXPORT_PRICES, m_app.GetText("Txt_ExportPriceList"));
    ShowWatchCommand();
    m_calc.SetDateLabel(m_view.Text(IDC_DATE));
}

void CMainWindow::Relabel()
{
    m_view.SetTitle(m_app.GetText("Txt_Title"));
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
    for (const auto& [id, key] : labels)
        m_view.SetText(id, m_app.GetText(key));
}

// Without a target the line would show its placeholder text, underlined, leading nowhere.
void CMainWindow::ShowLinkLine()
{
    const CReportTexts& texts = m_calc.ReportTexts();
    const bool hasTarget = !texts.Txt_Adv.empty() && !texts.Txt_Adv_Link.empty();
    if (hasTarget)
        m_view.SetLink(IDC_LINK, texts.Txt_Adv, texts.Txt_Adv_Link);
    m_view.Show(IDC_LINK, hasTarget);
}

void CMainWindow::RecalcLayout()
{
    const SSize size = m_view.ClientSize();
    m_anchors.RecalcLayout(m_view, size.width - m_templateSize.width,
        size.height - m_templateSize.height, m_app.Settings().ShowsPriceList());
}

CCalculation CMainWindow::Calculate()
{
    CWaitCursor wait(&m_ui);
    const CCalculation result = m_calc.Calculate(m_view.Text(IDC_INPUT));
    m_strDateLabel = result.strDateLabel;
    ShowDateLabel();
    m_view.SetText(IDC_MARKET_DATE, result.strMarketLabel);
    if (m_priceListStops && m_reportStops) {
        const auto width = [this](int id) {
            return [this, id](std::string_view text) { return m_view.TextWidth(id, text); };
        };
        m_view.SetTabStops(IDC_PRICE_LIST,
            m_priceListStops->StopsFor(
                result.strPriceList, width(IDC_PRICE_LIST), m_view.TextWidth(IDC_PRICE_LIST, " ")));
        m_view.SetTabStops(IDC_REPORT,
            m_reportStops->StopsFor(
                result.strReport, width(IDC_REPORT), m_view.TextWidth(IDC_REPORT, " ")));
    }
    m_view.SetTextKeepingScroll(IDC_PRICE_LIST, result.strPriceList);
    m_view.SetText(IDC_REPORT, result.strReport);
    m_downloads.ShowOutcome();
    m_view.AfterCalculation();
    return result;
}

void CMainWindow::FillServerCombo()
{
    const std::string stored = m_app.StoredServer();
    const std::vector<std::string> offered = m_app.OfferedServers();
    const auto found = std::find(offered.begin(), offered.end(), stored);
    int selected = found == offered.end() ? -1 : static_cast<int>(found - offered.begin());
    // At first start no server is stored: the first one offered lets Download work at once.
    if (stored.empty() && !offered.empty())
        selected = 0;
    m_view.SetItems(IDC_SERVERS, offered);
    m_view.SetCurrentItem(IDC_SERVERS, selected);
    OnServerChange();
}

std::string CMainWindow::SelectedServer() const
{
    const int current = m_view.CurrentItem(IDC_SERVERS);
    const std::vector<std::string> items = m_view.Items(IDC_SERVERS);
    return current >= 0 && current < static_cast<int>(items.size()) ? items[current] : "";
}

void CMainWindow::RecalculatePrices()
{
    m_calc.RebuildMarketPrices();
    Calculate();
}

void CMainWindow::OnPaste()
{
    // Replacing the text is the input's change notification; the calculation follows once
    // the current event is done.
    if (TakeListFromClipboard(false))
        m_desktop.Post([this] { Calculate(); });
}

bool CMainWindow::TakeListFromClipboard(bool atStart)
{
    const std::optional<std::string> list = atStart
        ? m_paste.PasteAtStart(m_clipboard, m_calc.Templates())
        : m_paste.Paste(m_clipboard, m_calc.Templates());
    if (list)
        m_view.ReplaceTextUndoably(IDC_INPUT, *list);
    return list.has_value();
}

void CMainWindow::OnActivate()
{
    if (m_bInitialised && m_paste.HasNewList(m_clipboard, m_calc.Templates()))
        OnPaste();
}

void CMainWindow::OnClipboardChanged(bool windowActive)
{
    if (!m_bInitialised)
        return;
    // A verdict on prices about to change would be wrong a moment later.
    if (m_downloads.ChangesPricesOf(SelectedServer())) {
        m_waitingChange = windowActive;
        return;
    }
    const bool watching
        = m_app.Settings().WatchesClipboard() && m_desktop.HearsClipboardInBackground();
    const std::optional<std::string> list = m_watch.TakeChange(watching, windowActive);
    if (!list)
        return;
    m_view.ReplaceTextUndoably(IDC_INPUT, *list);
    m_watch.AnnounceVerdict(Calculate().summary);
}

void CMainWindow::OnCommandFinished()
{
    SaveChanges();
    if (const std::optional<bool> windowActive = std::exchange(m_waitingChange, std::nullopt))
        OnClipboardChanged(*windowActive);
}

void CMainWindow::OnResize(SSize)
{
    if (m_bInitialised)
        RecalcLayout();
}

bool CMainWindow::OnCloseRequest(ECloseBy by)
{
    const bool closes = by != ECloseBy::EscapeKey || !IsBusy();
    // A list copied during the stopped command is not announced from a closing window.
    if (closes)
        m_waitingChange.reset();
    m_downloads.Stop();
    if (closes && by == ECloseBy::WindowFrame)
        StoreWindowSize();
    return closes;
}

bool CMainWindow::TakesClicksWhileBusy(int id)
{
    return id == IDC_CLOSE;
}

void CMainWindow::OnSessionEnd()
{
    // A list copied during the stopped command is not announced from a closing window.
    m_waitingChange.reset();
    m_downloads.Stop();
    StoreWindowSize();
    SaveAtSessionEnd(m_app);
}

void CMainWindow::StoreWindowSize()
{
    // At the minimum size a size stored earlier stays, so a window that was once enlarged
    // opens enlarged again; so does it at the size it opened with, which may have been shrunk
    // to fit this screen.
    const SSize size = m_view.ClientSize();
    if (m_bInitialised && size != m_minSize && size != m_restoredSize)
        m_app.StoreWindowSize(CControlAnchors::FormatSize(size));
}

// The window was sized for an estimate of its frame and placed before the window manager framed
// it, which may put the title bar above the screen. Once the frame is known, the window is
// narrowed to what the screen holds and moved so that the frame lies on the available area.
SPoint CMainWindow::OnFramed(const SRect& frame, const SRect& available)
{
    const SSize client = m_view.ClientSize();
    const SSize border { frame.width - client.width, frame.height - client.height };
    const SSize fitting
        = BoundedTo(client, { available.width - border.width, available.height - border.height });
    if (fitting != client) {
        m_minSize = BoundedTo(m_minSize, fitting);
        m_restoredSize = fitting; // what the window opens with: closing at it stores nothing
        m_view.SetMinimumClientSize(m_minSize);
        m_view.ResizeClient(fitting);
    }
    return CControlAnchors::FramePosition(
        { frame.x, frame.y, fitting.width + border.width, fitting.height + border.height },
        available);
}

// The profile reaches the disk after every command that changed it. A save that fails (a full
// disk, a file made read-only) is retried after the next command; meanwhile the date label says
// so, since a crash now would lose every change since, not only the command in flight.
void CMainWindow::SaveChanges()
{
    // A profile that could not be read is never saved over, as the user was told at start.
    const bool failing = !m_app.SaveChanges() && !m_app.KeepsProfileFile();
    if (failing == m_bSaveFailing)
        return;
    m_bSaveFailing = failing;
    ShowDateLabel();
}

void CMainWindow::ShowDateLabel()
{
    if (!m_bSaveFailing) {
        m_view.SetText(IDC_DATE, m_strDateLabel);
        return;
    }
    const std::string notSaved = m_app.GetText("Txt_NotSaved");
    m_view.SetText(IDC_DATE, notSaved.empty() ? "Profile not saved!" : notSaved);
}

bool CMainWindow::CanEditPrices() const
{
    return !m_view.IsChecked(IDC_LOCKED);
}

bool CMainWindow::OpensPriceEditor(const std::string& name) const
{
    return CanEditPrices() && !name.empty();
}

void CMainWindow::OnPriceEdited(const std::string& name, const std::string& text)
{
    if (m_calc.SetMarketPrice(name, text)) {
        Calculate();
        SaveChanges();
    }
}

void CMainWindow::OnCommand(int id)
{
    switch (id) {
    case IDC_CALCULATE:
        Calculate();
        break;
    case IDC_SERVERS:
        OnServerChange();
        break;
    case IDC_DOWNLOAD:
        m_downloads.Download();
        break;
    case IDC_DOWNLOAD_ALL:
        m_downloads.DownloadAll();
        break;
    case IDC_LOAD_SERVER_LIST:
        m_downloads.LoadServerList(false);
        break;
    case IDC_TOGGLE_PANE:
        OnTogglePriceList();
        break;
    case IDC_MAX_FARM:
        OnMaxFarm();
        break;
    case IDC_SELECT_SERVERS:
        OnSelectServers();
        break;
    case IDC_DETAILS:
        OnDetails();
        break;
    case IDM_ABOUT:
        OnAbout();
        break;
    case IDM_LANGUAGE:
        OnChangeLanguage();
        break;
    case IDM_IMPORT:
        OnImportCommand();
        break;
    case IDM_WATCH_CLIPBOARD:
        OnWatchClipboard();
        break;
    case IDM_PASTE_PRICES:
        OnPastePrices();
        break;
    case IDM_EXPORT_PRICES:
        OnExportPrices();
        break;
    default:
        break;
    }
}

void CMainWindow::OnServerChange()
{
    CWaitCursor wait(&m_ui);
    m_calc.SelectServer(SelectedServer());
    m_app.StoreServer(m_calc.Server());
    m_calc.RebuildMarketPrices();
    Calculate();
    SaveChanges();
}

void CMainWindow::OnTogglePriceList()
{
    const bool show = !m_app.Settings().ShowsPriceList();
    m_app.Settings().SetShowPriceList(show);
    m_anchors.ShowPriceList(m_view, show, m_rcInput, m_rcReport);
    RecalcLayout();
    SaveChanges();
}

void CMainWindow::OnMaxFarm()
{
    m_app.Settings().SetCapAtFarmPrice(m_view.IsChecked(IDC_MAX_FARM));
    m_calc.RebuildMarketPrices();
    Calculate();
    SaveChanges();
}

void CMainWindow::OnSelectServers()
{
    CServerSelection selection(m_app.Texts(), m_app.Servers(), m_app.StoredServer());
    m_view.RunDialog(selection);
    FillServerCombo();
}

void CMainWindow::OnDetails()
{
    CDetailsChoice details(m_app.Texts(), m_app.Settings());
    if (m_view.RunDialog(details)) {
        Calculate();
        SaveChanges();
    }
}

void CMainWindow::OnAbout()
{
    CAboutDialog about(m_app.Texts());
    m_view.RunDialog(about);
}

void CMainWindow::OnChangeLanguage()
{
    if (!m_app.ChangeLanguage(m_calc, m_ui))
        return;
    ApplyTexts();
    Calculate();
    SaveChanges();
}

void CMainWindow::OnImportCommand()
{
    const std::string path = m_desktop.ChooseImportFile(m_app.GetText("Txt_ImportPriceList"),
        m_app.GetText("Txt_PriceListFilter"), m_downloads.ImportFolder());
    if (!path.empty())
        m_downloads.ImportPriceList(path);
}

// The input keeps its list: a price list is no shopping list, and the player's list should
// be priced anew with the prices just taken.
void CMainWindow::OnPastePrices()
{
    if (IsBusy())
        return;
    if (const std::optional<std::string> text = PriceListFromClipboard())
        m_downloads.PastePriceList(*text);
}

// Through the faces' clipboard read, bounded in time. A text beyond the paste bound comes back
// a character longer than it, which the paste refuses unconverted; nullopt when the clipboard's
// owner did not answer, and then nothing happens.
std::optional<std::string> CMainWindow::PriceListFromClipboard()
{
    return m_clipboard.ReadText(CPriceDownloader::kMaxPasteBytes);
}

void CMainWindow::OnExportPrices()
{
    const std::string server = SelectedServer();
    if (server.empty() || IsBusy())
        return;
    const std::string path = m_desktop.ChooseExportFile(m_app.GetText("Txt_ExportPriceList"),
        m_app.GetText("Txt_PriceListFilter"), CPriceListFile::SuggestedName(server));
    if (path.empty())
        return;
    const CReportTexts& texts = m_calc.ReportTexts();
    const std::string text = m_app.PriceListText(server, texts.Txt_Article, texts.Txt_Market);
    int error = 0;
    if (!CPriceListFile::Write(path, text, error))
        m_view.ShowWarning(CTexts::Fill(m_app.GetText("Txt_ExportFailed"), Utf8ToCp1252(path),
                               SystemErrorText(error)),
            m_app.GetText("Txt_OK"));
}

void CMainWindow::OnWatchClipboard()
{
    m_app.Settings().SetWatchClipboard(!m_app.Settings().WatchesClipboard());
    m_view.SetCommandChecked(IDM_WATCH_CLIPBOARD, m_app.Settings().WatchesClipboard());
    SaveChanges();
}

void CMainWindow::ShowWatchCommand()
{
    m_view.SetCommandText(IDM_WATCH_CLIPBOARD, m_app.GetText("Txt_WatchClipboard"));
    m_view.SetCommandChecked(IDM_WATCH_CLIPBOARD, m_app.Settings().WatchesClipboard());
    if (!m_desktop.HearsClipboardInBackground())
        m_view.DisableCommand(IDM_WATCH_CLIPBOARD, m_app.GetText("Txt_TipWatchUnavailable"));
}
