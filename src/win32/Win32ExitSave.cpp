#include "win32/Win32ExitSave.h"

#include "win32/Win32MessageBox.h"
#include "window/ExitSave.h"

CWin32ExitSave::CWin32ExitSave(CQuotinoApp& app, HWND owner)
    : m_app(app)
    , m_hOwner(owner)
{
}

bool CWin32ExitSave::Run()
{
    return SaveAtExit(m_app, [this](const SRetryQuestion& question) {
        const int answer = ShowMessageBox(m_hOwner, question.strTitle, question.strText,
            MB_RETRYCANCEL | MB_ICONWARNING,
            { { IDRETRY, question.strRetry }, { IDCANCEL, question.strQuit } });
        return answer == IDRETRY;
    });
}
