#pragma once

#include "calc/ListPaste.h"
#include "calc/OfferCalculator.h"
#include "platform/Subscription.h"
#include "window/ClipboardWatch.h"
#include "window/ColumnStops.h"
#include "window/ControlAnchors.h"
#include "window/DownloadCommands.h"
#include "window/Geometry.h"

#include <optional>
#include <string>

class CQuotinoApp;
class IClipboard;
class IDesktop;
class IMainWindowView;
class IUserInterface;

// The program's only window, whichever face draws it: the shopping list, the report, the price
// list pane and the server box. The face builds the controls from the main window's template,
// forwards the user's actions here and draws what this sets; every rule of the window lives
// here.
class CMainWindow {
public:
    CMainWindow(CQuotinoApp& app, IMainWindowView& view, IDesktop& desktop, IUserInterface& ui,
        IClipboard& clipboard);
    CMainWindow(const CMainWindow&) = delete;
    CMainWindow& operator=(const CMainWindow&) = delete;
    ~CMainWindow();

    // Once the controls stand at the template size: loads the configuration, restores the
    // size, takes a list from the clipboard and shows the first report. False when the
    // configuration did not load; the face then closes the window.
    bool OnInit();
    bool IsInitialised() const { return m_bInitialised; }

    // A button, a check box or a menu command (window/ControlIds.h); the server box's change.
    void OnCommand(int id);
    // The window became the active one: a new list on the clipboard replaces the input.
    void OnActivate();
    // The input's paste key: the clipboard's list replaces the whole input, then a calculation
    // follows after the current event.
    void OnPaste();
    // The clipboard changed: with the watch on and the window in the background, a new list is
    // pasted, priced and its verdict notified; while a command may change the selected server's
    // prices, once it has ended.
    void OnClipboardChanged(bool windowActive);
    void OnResize(SSize client);

    // How the player asks the window to close.
    enum class ECloseBy { EscapeKey, CloseButton, WindowFrame };
    // A running command stops first. Escape only stops it, so that the key that ends a
    // download never also ends the program; the Close button and the frame's close button
    // close the window, running command or not. Only the frame's close stores the size: the
    // Close button means "done", not "remember this window". True when the face closes now.
    bool OnCloseRequest(ECloseBy by);
    // While a command runs the face lets only Escape and the clicks on these controls through.
    static bool TakesClicksWhileBusy(int id);
    // The desktop session ends and the process with it: the size as at the frame's close, and
    // the profile's changes saved now, since no exit save will follow.
    void OnSessionEnd();
    // The window manager framed the window: where its frame should go so that it lies on the
    // available area; the window may have been narrowed to fit.
    SPoint OnFramed(const SRect& frame, const SRect& available);

    // A double click on the pane's line of this plant opens the price editor: only while the
    // prices are not locked, and never on the header line, which names no plant.
    bool CanEditPrices() const;
    bool OpensPriceEditor(const std::string& name) const;
    // The editor opens with the caret at the end of the price, its text not selected, so that
    // a stray key does not wipe the price.
    static constexpr bool kPriceEditorSelectsAll = false;
    void OnPriceEdited(const std::string& name, const std::string& text);
    // A price list file dropped on the window or chosen through the import command.
    bool OnImport(const std::string& path) { return m_downloads.ImportPriceList(path); }
    // Where the import dialog opens: the folder of the last import in this run, or empty.
    const std::string& ImportFolder() const { return m_downloads.ImportFolder(); }
    bool IsBusy() const { return m_downloads.IsBusy(); }

    // Shows the report, the price list pane and both date labels for the current input.
    CCalculation Calculate();
    // Offers the selected servers and picks the stored one, which recalculates.
    void FillServerCombo();
    // The selected server's effective prices afresh, then Calculate.
    void RecalculatePrices();
    std::string SelectedServer() const;
    const CListPaste& ListPaste() const { return m_paste; }

private:
    bool TakeListFromClipboard(bool atStart);
    void RestoreWindowSize();
    void SetUpColumns();
    void ApplyTexts();
    void Relabel();
    void ShowLinkLine();
    void RecalcLayout();
    void SaveChanges();
    void ShowDateLabel();
    void StoreWindowSize();

    void OnServerChange();
    void OnTogglePriceList();
    void OnMaxFarm();
    void OnSelectServers();
    void OnDetails();
    void OnAbout();
    void OnChangeLanguage();
    void OnImportCommand();
    void OnPastePrices();
    void OnExportPrices();
    std::optional<std::string> PriceListFromClipboard();
    void OnWatchClipboard();
    void OnCommandFinished();
    void ShowWatchCommand();

    CQuotinoApp& m_app;
    IMainWindowView& m_view;
    IDesktop& m_desktop;
    IUserInterface& m_ui;
    IClipboard& m_clipboard;
    COfferCalculator m_calc;
    CListPaste m_paste;
    CClipboardWatch m_watch;
    CControlAnchors m_anchors;
    CDownloadCommands m_downloads;
    std::optional<CColumnStops> m_reportStops;
    std::optional<CColumnStops> m_priceListStops;

    SRect m_rcInput;
    SRect m_rcReport;
    SSize m_templateSize; // where the anchored controls were recorded
    SSize m_minSize; // the smallest the window gets
    SSize m_restoredSize; // as opened: closing at this size leaves the stored size alone
    bool m_bInitialised = false;
    std::string m_strDateLabel; // the date label of the last calculation
    bool m_bSaveFailing = false; // the last save after a command failed
    // A clipboard change that waits for the running command's prices, and whether the window
    // was active at it.
    std::optional<bool> m_waitingChange;
    CSubscription m_serversChanged; // last: it ends before what the refill touches
};
