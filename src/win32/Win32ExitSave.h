#pragma once

#include <windows.h>

class CQuotinoApp;

// The one save of the run, after the main window has closed. A save that fails is never
// dropped in silence: a message box in the user's language names the file and the system's
// reason and offers to try again or to quit without saving.
class CWin32ExitSave {
public:
    explicit CWin32ExitSave(CQuotinoApp& app, HWND owner = nullptr);

    // True when the profile reached the disk; false when the user chose to quit without
    // saving, or when the start already said that this profile is not saved.
    bool Run();

private:
    CQuotinoApp& m_app;
    HWND m_hOwner;
};
