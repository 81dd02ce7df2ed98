#include "qt/ExitSave.h"

#include "app/QuotinoApp.h"
#include "platform/Cp1252.h"
#include "platform/SystemError.h"
#include "qt/QtText.h"

#include <QMessageBox>
#include <QPushButton>

CExitSave::CExitSave(CQuotinoApp& app, QWidget* parent)
    : m_app(app)
    , m_pParent(parent)
{
}

bool CExitSave::Run()
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

bool CExitSave::AskRetry()
{
    // The window may have closed before the texts were loaded (language choice cancelled).
    if (m_app.GetText("Txt_SaveFailed").empty())
        m_app.ReloadTexts();
    const std::string text = CTexts::Fill(m_app.GetText("Txt_SaveFailed"),
        Utf8ToCp1252(m_app.ProfileFileName()), SystemErrorText(m_app.LastProfileError()));
    QMessageBox box(QMessageBox::Warning, ToQString(m_app.GetText("Txt_Title")), ToQString(text),
        QMessageBox::NoButton, m_pParent);
    QPushButton* retry
        = box.addButton(ToQString(m_app.GetText("Txt_Retry")), QMessageBox::AcceptRole);
    box.addButton(ToQString(m_app.GetText("Txt_QuitNoSave")), QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.exec();
    return box.clickedButton() == retry;
}
