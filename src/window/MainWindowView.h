#pragma once

#include "window/WindowView.h"

class INotifier;

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What the main window's behaviour needs beyond a dialog's controls: the edits' finer
// handling, the menu commands, the window's size and the way back onto its thread.
//
// Threads: Post may be called from any thread; every other member of this view and of
// IWindowView only on the window's thread, which is where the behaviour runs.
class IMainWindowView : public virtual IWindowView {
public:
    // Replaces an edit's whole text as one step that Undo takes back, cursor at the start.
    virtual void ReplaceTextUndoably(int id, const std::string& text) = 0;
    // Replaces an edit's text, keeping the part of it that was scrolled into view.
    virtual void SetTextKeepingScroll(int id, const std::string& text) = 0;
    // An edit's tab stops in pixels from its left edge.
    virtual void SetTabStops(int id, const std::vector<double>& stops) = 0;
    virtual double DialogUnitsToPixelsX(int units) const = 0;
    // The width of text in the control's font, in pixels.
    virtual double TextWidth(int id, std::string_view text) const = 0;
    // Shows a label's new text at once, also while the window's thread is busy.
    virtual void RepaintNow(int id) = 0;

    // A menu command; shown only with a text.
    virtual void SetCommandText(int command, const std::string& text) = 0;
    // A command that is on or off, shown with a check mark.
    virtual void SetCommandChecked(int command, bool checked) = 0;
    // A command this platform cannot carry out; why shows as its tooltip.
    virtual void DisableCommand(int command, const std::string& why) = 0;
    // The toolkit's own texts (standard buttons, file dialogs) in the language of this code
    // ("de", "en", ...).
    virtual void UseLanguage(const std::string& code) = 0;
    // The file dialog for a price list to import: title and filter name are texts, folder and
    // the answer paths in UTF-8; an empty folder means the user's home, an empty answer that
    // the user cancelled.
    virtual std::string ChooseImportFile(
        const std::string& title, const std::string& filterName, const std::string& folder)
        = 0;
    // The file dialog for a price list to export: title and filter name are texts, the
    // suggested file name and the answer path UTF-8; the dialog opens in the user's documents
    // folder. An empty answer means that the user cancelled.
    virtual std::string ChooseExportFile(
        const std::string& title, const std::string& filterName, const std::string& suggestedName)
        = 0;
    // Whether the window hears clipboard changes and may read the clipboard while another
    // program has the focus.
    virtual bool HearsClipboardInBackground() const = 0;
    // Where messages to the player go while the window is in the background.
    virtual INotifier& Notifier() = 0;

    // After every calculation, for whoever watches the window.
    virtual void AfterCalculation() { }

    virtual SSize ClientSize() const = 0;
    virtual void ResizeClient(SSize size) = 0;
    virtual void SetMinimumClientSize(SSize size) = 0;
    // The screen's available area less the window's frame.
    virtual SSize AvailableClientSize() const = 0;

    // Runs task on the window's thread after the current event.
    virtual void Post(std::function<void()> task) = 0;
};
