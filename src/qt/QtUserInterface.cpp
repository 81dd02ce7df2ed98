#include "qt/QtUserInterface.h"

#include "config/Texts.h"
#include "qt/QtDialog.h"
#include "qt/QtText.h"
#include "window/LanguageChoice.h"
#include "window/UpdateNotice.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QWidget>

namespace {

// A dialog that a core operation opens under its wait cursor still shows the normal cursor.
class CArrowCursor {
public:
    CArrowCursor()
        : m_bPushed(QGuiApplication::overrideCursor() != nullptr)
    {
        if (m_bPushed)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~CArrowCursor()
    {
        if (m_bPushed)
            QGuiApplication::restoreOverrideCursor();
    }
    CArrowCursor(const CArrowCursor&) = delete;
    CArrowCursor& operator=(const CArrowCursor&) = delete;

private:
    bool m_bPushed;
};

} // namespace

CQtUserInterface::CQtUserInterface(const CTexts& texts, QWidget* parent)
    : m_texts(texts)
    , m_pParent(parent)
{
}

bool CQtUserInterface::ChooseLanguage(
    const std::vector<std::string>& languages, std::string& chosen)
{
    CArrowCursor arrow;
    CLanguageChoice choice(languages, chosen);
    if (!CQtDialog::Run(choice, m_pParent))
        return false;
    chosen = choice.Chosen();
    return true;
}

void CQtUserInterface::ShowUpdateNotice(int major, int minor)
{
    CArrowCursor arrow;
    CUpdateNotice notice(m_texts, major, minor);
    CQtDialog::Run(notice, m_pParent);
}

void CQtUserInterface::ShowMessage(const std::string& text)
{
    CArrowCursor arrow;
    QMessageBox::warning(m_pParent, ToQString(m_texts.GetText("Txt_Title")), ToQString(text));
}

// Before the window is on screen nobody sees a cursor, and loading one from the cursor theme
// would only delay the first report.
void CQtUserInterface::BeginWaitCursor()
{
    const bool show = !m_pParent || m_pParent->isVisible();
    if (show)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_abWaitCursors.push_back(show);
}

void CQtUserInterface::EndWaitCursor()
{
    if (m_abWaitCursors.empty())
        return;
    if (m_abWaitCursors.back())
        QGuiApplication::restoreOverrideCursor();
    m_abWaitCursors.pop_back();
}
