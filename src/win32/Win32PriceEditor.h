#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The one-line box over a price of the price list pane. Return and leaving the box commit the
// text, Escape drops it; either way the box goes away.
class CWin32PriceEditor {
public:
    using Commit = std::function<void(const std::string& name, const std::string& text)>;

    static constexpr int kControlId = 4711;

    using Opens = std::function<bool(const std::string& name)>;

    // Opens the box over the value of the pane line at point (the pane's client coordinates)
    // when opens agrees for the line's name: lines read name, tab, farm price, tab, market
    // price. Without selectAll the caret stands at the end of the price. False for a point on
    // no such line.
    static bool Open(HWND pane, POINT point, const Opens& opens, bool selectAll, Commit commit);

private:
    CWin32PriceEditor(std::string name, Commit commit);

    static LRESULT CALLBACK Procedure(
        HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    void Close(bool commit);

    HWND m_hEdit = nullptr;
    std::string m_strName; // Windows-1252
    Commit m_commit;
    bool m_bClosed = false;
};
