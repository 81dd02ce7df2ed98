#pragma once

#include <functional>
#include <string>
#include <vector>

class CMainWindow;

// One control as the player sees it, read through the face's toolkit. Texts are UTF-8 with
// lines ended by LF.
struct SControlSeen {
    std::string text;
    std::string tip; // empty where the mouse cannot raise one
    bool shown = false;
    bool enabled = false;
    bool checked = false;
    std::vector<std::string> items; // of lists and drop-down lists
    int current = -1; // a drop-down list's entry
    std::vector<int> selected; // a list box's selected entries; an edit's selection, from-to
};

// A face's real main window, driven the way a player drives it and read through its toolkit.
// Every action goes to the window on top: a modal dialog while one shows, else the main window.
class IParityFace {
public:
    // Paste is Ctrl+V, PastePrices Ctrl+Shift+V.
    enum class EKey { Escape, Up, Down, Return, Paste, PastePrices };

    virtual ~IParityFace() = default;

    virtual void Click(int id) = 0;
    virtual void ClickItem(int id, int index) = 0;
    // The control gets the focus, then the key.
    virtual void PressKey(int id, EKey key) = 0;
    // Double-clicks an edit on the character after the first place of text (lines ended by LF).
    virtual void DoubleClickAfter(int id, const std::string& utf8) = 0;
    // Another program copies the text.
    virtual void Copy(const std::string& utf8) = 0;
    // The player types text over the whole of an edit's text.
    virtual void Type(int id, const std::string& utf8) = 0;
    // The file dialog on top takes the path and closes.
    virtual void AnswerFileDialog(const std::string& utf8Path) = 0;
    // A command of the window's menu.
    virtual void ChooseCommand(int command) = 0;
    // Runs whileShown once the modal dialog that open shows is up, also over another dialog;
    // whileShown closes it.
    virtual void WithDialog(
        const std::function<void()>& open, const std::function<void()>& whileShown)
        = 0;
    // Runs the window's events until done, for at most ten seconds.
    virtual bool RunUntil(const std::function<bool()>& done) = 0;
    virtual CMainWindow& Behaviour() = 0;

    // Whether the main window is still open.
    virtual bool IsOpen() = 0;
    virtual std::string Title() = 0;
    // A control of the window on top, also one a control made (such as the price editor).
    virtual SControlSeen Read(int id) = 0;
    // A command of the main window's menu: its text, whether the menu offers it, enabled and
    // checked.
    virtual SControlSeen ReadCommand(int command) = 0;
    // The controls that Tab visits from the first one, by id.
    virtual std::vector<int> TabOrder() = 0;
};
