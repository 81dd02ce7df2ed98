#include "ui/QtUserInterface.h"

#include "config/Texts.h"
#include "ui/LanguageDlg.h"
#include "ui/QtText.h"
#include "ui/UpdateDlg.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace {

// A dialog that a core operation opens under its wait cursor still shows the normal cursor.
class CArrowCursor {
public:
    CArrowCursor() : m_bPushed(QGuiApplication::overrideCursor() != nullptr)
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

}  // namespace

CQtUserInterface::CQtUserInterface(const CTexts& texts, QWidget* parent)
    : m_texts(texts), m_pParent(parent)
{
}

bool CQtUserInterface::ChooseLanguage(const std::vector<std::string>& languages, std::string& chosen)
{
    CArrowCursor arrow;
    CLanguageDlg dialog(languages, m_pParent, chosen);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    chosen = dialog.m_strLanguage;
    return true;
}

void CQtUserInterface::ShowUpdateNotice(int major, int minor)
{
    CArrowCursor arrow;
    CUpdateDlg dialog(m_texts, major, minor, m_pParent);
    dialog.exec();
}

void CQtUserInterface::ShowMessage(const std::string& text)
{
    CArrowCursor arrow;
    QMessageBox::warning(m_pParent, ToQString(m_texts.GetText("Txt_Title")), ToQString(text));
}

void CQtUserInterface::BeginWaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void CQtUserInterface::EndWaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}
