#include "win32/Win32ExitSave.h"

#include "app/QuotinoApp.h"
#include "platform/Cp1252.h"
#include "platform/SystemError.h"
#include "win32/Win32MessageBox.h"

CWin32ExitSave::CWin32ExitSave(CQuotinoApp& app, HWND owner)
    : m_app(app)
    , m_hOwner(owner)
{
}

bool CWin32ExitSave::Run()
{
    // A profile that could not be read is never saved over; the user was told at start.
    if (m_app.KeepsProfileFile())
        return false;
    while (!m_app.SaveProfile()) {
        // Told once at start that nothing can be saved here; no second message.
        if (m_app.ProfileProblemShown() || !AskRetry())
            return false;
    }
    return true;
}

bool CWin32ExitSave::AskRetry()
{
    // The window may have closed before the texts were loaded (language choice cancelled).
    if (m_app.GetText("Txt_SaveFailed").empty())
        m_app.ReloadTexts();
    const std::string text = CTexts::Fill(m_app.GetText("Txt_SaveFailed"),
        Utf8ToCp1252(m_app.ProfileFileName()), SystemErrorText(m_app.LastProfileError()));
    const int answer = ShowMessageBox(m_hOwner, m_app.GetText("Txt_Title"), text,
        MB_RETRYCANCEL | MB_ICONWARNING,
        { { IDRETRY, m_app.GetText("Txt_Retry") }, { IDCANCEL, m_app.GetText("Txt_QuitNoSave") } });
    return answer == IDRETRY;
}
