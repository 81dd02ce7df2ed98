#include "win32/Win32UserInterface.h"

#include "config/Texts.h"
#include "win32/Win32Dialog.h"
#include "win32/Win32MessageBox.h"
#include "window/LanguageChoice.h"
#include "window/UpdateNotice.h"

CWin32UserInterface::CWin32UserInterface(const CTexts& texts, Owner owner)
    : m_texts(texts)
    , m_owner(std::move(owner))
{
}

bool CWin32UserInterface::ChooseLanguage(
    const std::vector<std::string>& languages, std::string& chosen)
{
    CLanguageChoice choice(languages, chosen);
    if (!CWin32Dialog::Run(choice, m_owner ? m_owner() : nullptr))
        return false;
    chosen = choice.Chosen();
    return true;
}

void CWin32UserInterface::ShowUpdateNotice(int major, int minor)
{
    CUpdateNotice notice(m_texts, major, minor);
    CWin32Dialog::Run(notice, m_owner ? m_owner() : nullptr);
}

void CWin32UserInterface::ShowMessage(const std::string& text)
{
    ShowMessageBox(
        m_owner ? m_owner() : nullptr, m_texts.GetText("Txt_Title"), text, MB_OK | MB_ICONWARNING);
}

// Work on the window's thread keeps the cursor until it ends; for work on the fetch's worker the
// main window sets it again at every mouse move (IsWaiting).
void CWin32UserInterface::BeginWaitCursor()
{
    if (m_nWaitDepth++ == 0)
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void CWin32UserInterface::EndWaitCursor()
{
    if (m_nWaitDepth == 0)
        return;
    if (--m_nWaitDepth == 0)
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}
