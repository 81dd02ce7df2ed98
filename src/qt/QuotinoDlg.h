#pragma once

#include "qt/DialogBuilder.h"
#include "qt/QtControlView.h"
#include "qt/QtTranslation.h"
#include "window/Desktop.h"
#include "window/MainWindow.h"

#include <QDialog>
#include <QHash>
#include <QSize>

#include <memory>

class CQuotinoApp;
class IClipboard;
class INotifier;
class IUserInterface;
class CClipboardListener;
class QAction;
class QPlainTextEdit;
struct NMPRICELINE;

// The main window's Qt face: widgets made from the main window's template, every user action
// forwarded to CMainWindow, and what it sets drawn.
class CQuotinoDlg : public QDialog, private CQtControls<IMainWindowView>, private IDesktop {
    Q_OBJECT
public:
    // ui and clipboard default to the desktop's; tests pass their own. If the configuration
    // does not load, the window closes as soon as it runs.
    explicit CQuotinoDlg(CQuotinoApp& app, IUserInterface* ui = nullptr,
        IClipboard* clipboard = nullptr, INotifier* notifier = nullptr, QWidget* parent = nullptr);
    ~CQuotinoDlg() override;

    QWidget* Control(int id) const { return m_builder.Control(id); }
    template <class T> T* Control(int id) const { return m_builder.Control<T>(id); }
    CMainWindow& Behaviour() { return *m_pMain; }
    // A menu command's action (window/ControlIds.h); null for an unknown command.
    QAction* Command(int command) const { return m_commands.value(command); }
    bool IsInitialised() const { return m_pMain->IsInitialised(); }
    // The template size, made smaller where the screen's available area is smaller.
    QSize MinimumSize() const { return minimumSize(); }

    // Return and the Calculate button: recalculate; the window stays open.
    void accept() override;
    // Escape; while a command runs it only stops it.
    void reject() override;

signals:
    // After every calculation.
    void Calculated();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void ConnectCommands();
    void AddCommand(int command, QKeySequence shortcut = {});
    void PlaceFrameOnScreen();
    bool FilterWhileBusy(const QWidget& widget, QEvent& event);
    bool HandleDrop(QEvent& event);
    void OnEditPrice(const NMPRICELINE& line);
    void ShowContextMenu(const QPoint& position);
    void BringToFront();

    // IMainWindowView beyond the controls
    void ReplaceTextUndoably(int id, const std::string& text) override;
    void SetTextKeepingScroll(int id, const std::string& text) override;
    void SetTabStops(int id, const std::vector<double>& stops) override;
    double DialogUnitsToPixelsX(int units) const override;
    double TextWidth(int id, std::string_view text) const override;
    void RepaintNow(int id) override;
    void SetCommandText(int command, const std::string& text) override;
    void SetCommandChecked(int command, bool checked) override;
    void DisableCommand(int command, const std::string& why) override;
    void ShowWaitCursor(bool waiting) override;
    SSize ClientSize() const override;
    void ResizeClient(SSize size) override;
    void SetMinimumClientSize(SSize size) override;
    SSize AvailableClientSize() const override;
    void AfterCalculation() override { emit Calculated(); }

    // IDesktop
    void Post(std::function<void()> task) override;
    INotifier& Notifier() override { return *m_pNotifier; }
    std::string ChooseImportFile(const std::string& title, const std::string& filterName,
        const std::string& folder) override;
    std::string ChooseExportFile(const std::string& title, const std::string& filterName,
        const std::string& suggestedName) override;
    void UseLanguage(const std::string& code) override;
    bool HearsClipboardInBackground() const override;

    CQuotinoApp& m_app;
    std::unique_ptr<IUserInterface> m_pOwnUi;
    std::unique_ptr<IClipboard> m_pOwnClipboard;
    IUserInterface* m_pUi;
    IClipboard* m_pClipboard;
    std::unique_ptr<INotifier> m_pOwnNotifier;
    INotifier* m_pNotifier;
    CClipboardListener* m_pClipboardListener = nullptr;
    CDialogBuilder m_builder;
    CQtTranslation m_qtTranslation;
    bool m_bWaitCursorSet = false; // an override cursor of ours to take back
    QHash<int, QAction*> m_commands;
    // Each character's advance in a control's font, measured once: shaping every cell of a
    // long list anew would cost the first report about a millisecond.
    struct SCharWidths {
        QFont font;
        QHash<char16_t, double> widths;
    };
    mutable QHash<int, SCharWidths> m_charWidths;
    std::unique_ptr<CMainWindow> m_pMain;
    bool m_bFramePlaced = false; // once the window manager's frame is known
};
