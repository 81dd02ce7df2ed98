#pragma once

#include "window/MainWindowView.h"

#include <windows.h>

#include <map>
#include <string>

// The controls of a dialog window, reached by their template ids through GetDlgItem. Texts
// cross into UTF-16 and back through win32/Win32Text. A control the window lacks, or one of a
// kind without such a property, is left alone and reads as empty.
//
// View is the interface the controls implement: a dialog's IWindowView, or the main window's
// IMainWindowView, whose face adds the rest, so that each face's view is one plain chain.
template <class View> class CWin32Controls : public View {
public:
    explicit CWin32Controls(HWND window = nullptr);
    ~CWin32Controls() override;
    CWin32Controls(const CWin32Controls&) = delete;
    CWin32Controls& operator=(const CWin32Controls&) = delete;

    void Attach(HWND window)
    {
        m_hWnd = window;
        m_controls.clear();
    }
    HWND Window() const { return m_hWnd; }

    void SetTitle(const std::string& text) override;
    void SetText(int id, const std::string& text) override;
    std::string Text(int id) const override;
    void SetToolTip(int id, const std::string& text) override;
    void SetLink(int id, const std::string& text, const std::string& url) override;
    void SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void Show(int id, bool shown) override;
    void SetFocus(int id) override;

    void SetItems(int id, const std::vector<std::string>& items) override;
    void AddItem(int id, const std::string& item) override;
    std::vector<std::string> Items(int id) const override;
    int CurrentItem(int id) const override;
    void SetCurrentItem(int id, int index) override;
    std::vector<bool> SelectedItems(int id) const override;
    void SetSelectedItems(int id, const std::vector<bool>& selected) override;

    SRect ControlRect(int id) const override;
    void Place(int id, const SRect& rect) override;

    void ShowWarning(const std::string& text, const std::string& buttonText) override;
    bool RunDialog(IDialogBehaviour& dialog) override;

    // Links: a static text that notifies its window. Opens the link's address when the
    // control is one (http and https only); false otherwise.
    bool OpenLink(int id) const;
    bool IsLink(HWND control) const;
    // The window's answer to WM_CTLCOLORSTATIC and WM_SETCURSOR for its links; 0 when the
    // control is no link.
    INT_PTR LinkColour(HDC dc, HWND control) const;
    bool SetLinkCursor(HWND control) const;
    // Makes every notifying static text of the window a link, with the template's text.
    void MarkLinks();

    // Tooltips given from now on wait for AddDeferredToolTips: nobody points at a control
    // before the window is on screen, and the tooltip window is one more window to make.
    void DeferToolTips() { m_bDeferTips = true; }
    void AddDeferredToolTips();

    // The class of a control as the system names it ("Edit", "ListBox", ...).
    static bool IsOfClass(HWND control, const wchar_t* name);

protected:
    HWND Control(int id) const;

private:
    void MakeLink(HWND control);
    void AddToolTip(HWND control, const std::string& text);

    HWND m_hWnd;
    // The template's controls live as long as their window; the system's GetDlgItem asks for
    // the list of all children at every call, and a calculation measures hundreds of cells.
    mutable std::map<int, HWND> m_controls;
    HWND m_hToolTip = nullptr;
    HFONT m_hLinkFont = nullptr;
    std::map<int, std::string> m_links; // id to address, UTF-8
    bool m_bDeferTips = false;
    std::map<int, std::string> m_deferredTips; // id to text
};

extern template class CWin32Controls<IWindowView>;
extern template class CWin32Controls<IMainWindowView>;
using CWin32ControlView = CWin32Controls<IWindowView>;
