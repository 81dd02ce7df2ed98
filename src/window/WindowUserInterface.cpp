#include "window/WindowUserInterface.h"

#include "config/Texts.h"
#include "window/LanguageChoice.h"
#include "window/MainWindowView.h"
#include "window/UpdateNotice.h"

class CWindowUserInterface::CNormalCursor {
public:
    explicit CNormalCursor(const CWindowUserInterface& ui)
        : m_view(ui.m_view)
        , m_bWaiting(ui.m_nWaitDepth > 0)
    {
        if (m_bWaiting)
            m_view.ShowWaitCursor(false);
    }
    ~CNormalCursor()
    {
        if (m_bWaiting)
            m_view.ShowWaitCursor(true);
    }
    CNormalCursor(const CNormalCursor&) = delete;
    CNormalCursor& operator=(const CNormalCursor&) = delete;

private:
    IMainWindowView& m_view;
    bool m_bWaiting;
};

CWindowUserInterface::CWindowUserInterface(const CTexts& texts, IMainWindowView& view)
    : m_texts(texts)
    , m_view(view)
{
}

bool CWindowUserInterface::ChooseLanguage(
    const std::vector<std::string>& languages, std::string& chosen)
{
    const CNormalCursor normal(*this);
    CLanguageChoice choice(languages, chosen);
    if (!m_view.RunDialog(choice))
        return false;
    chosen = choice.Chosen();
    return true;
}

void CWindowUserInterface::ShowUpdateNotice(int major, int minor)
{
    const CNormalCursor normal(*this);
    CUpdateNotice notice(m_texts, major, minor);
    m_view.RunDialog(notice);
}

// A message can come while the configuration loads, before the window is on screen with its
// title: the window takes the program's title now, which the warning then shows.
void CWindowUserInterface::ShowMessage(const std::string& text)
{
    const CNormalCursor normal(*this);
    m_view.SetTitle(m_texts.GetText("Txt_Title"));
    const std::string ok = m_texts.GetText("Txt_OK");
    m_view.ShowWarning(text, ok.empty() ? "OK" : ok);
}

void CWindowUserInterface::BeginWaitCursor()
{
    if (m_nWaitDepth++ == 0)
        m_view.ShowWaitCursor(true);
}

void CWindowUserInterface::EndWaitCursor()
{
    if (m_nWaitDepth > 0 && --m_nWaitDepth == 0)
        m_view.ShowWaitCursor(false);
}
