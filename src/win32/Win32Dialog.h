#pragma once

#include "win32/Win32ControlView.h"
#include "window/DialogBehaviour.h"
#include "window/DialogRunner.h"

#include <windows.h>

// Any dialog behaviour shown as a modal system dialog built from the behaviour's template.
// Clicks and the user's edits and selections go to the behaviour as commands; Escape and the
// window's close button are Cancel, Return the template's default button.
class CWin32Dialog {
public:
    // Shows the dialog modally over owner; true when the behaviour accepted it.
    static bool Run(IDialogBehaviour& behaviour, HWND owner);

private:
    explicit CWin32Dialog(IDialogBehaviour& behaviour);

    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInit(HWND window);
    void OnCommand(int id, int code, HWND control);

    CWin32ControlView m_view;
    CDialogRunner m_runner;
};
