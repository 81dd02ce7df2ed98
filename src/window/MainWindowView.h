#pragma once

#include "window/WindowView.h"

#include <string>
#include <string_view>
#include <vector>

// What the main window's behaviour needs of its controls beyond a dialog's: the edits' finer
// handling, the menu commands, the cursor and the window's size. IDesktop says on which thread.
class IMainWindowView : public IWindowView {
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

    // The wait cursor over the window, or the normal one again. Calls do not nest.
    virtual void ShowWaitCursor(bool waiting) = 0;

    // After every calculation, for whoever watches the window.
    virtual void AfterCalculation() { }

    virtual SSize ClientSize() const = 0;
    virtual void ResizeClient(SSize size) = 0;
    virtual void SetMinimumClientSize(SSize size) = 0;
    // The screen's available area less the window's frame.
    virtual SSize AvailableClientSize() const = 0;
};
