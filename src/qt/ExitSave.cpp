#include "qt/ExitSave.h"

#include "qt/QtText.h"
#include "window/ExitSave.h"

#include <QMessageBox>
#include <QPushButton>

CExitSave::CExitSave(CQuotinoApp& app, QWidget* parent)
    : m_app(app)
    , m_pParent(parent)
{
}

bool CExitSave::Run()
{
    return SaveAtExit(m_app, [this](const SRetryQuestion& question) { return AskRetry(question); });
}

bool CExitSave::AskRetry(const SRetryQuestion& question)
{
    QMessageBox box(QMessageBox::Warning, ToQString(question.strTitle), ToQString(question.strText),
        QMessageBox::NoButton, m_pParent);
    QPushButton* retry = box.addButton(ToQString(question.strRetry), QMessageBox::AcceptRole);
    box.addButton(ToQString(question.strQuit), QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.exec();
    return box.clickedButton() == retry;
}
