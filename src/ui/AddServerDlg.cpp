#include "ui/AddServerDlg.h"

#include "config/Texts.h"
#include "platform/TextUtil.h"
#include "ui/DialogBuilder.h"
#include "ui/ProfileFormat.h"
#include "ui/QtText.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

CAddServerDlg::CAddServerDlg(const CTexts& texts, QWidget* parent)
    : QDialog(parent)
{
    CDialogBuilder builder(CDialogTemplate::Load(135));
    builder.Build(*this);
    m_pName = builder.Control<QLineEdit>(1002);
    auto* ok = builder.Control<QAbstractButton>(1);
    auto* cancel = builder.Control<QAbstractButton>(2);
    connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);

    setWindowTitle(ToQString(RemoveAll(texts.GetText("Txt_Add"), "...")));
    builder.Control<QLabel>(1003)->setText(ToQString(texts.GetText("Txt_ServerAdd")));
    m_strOk = ToQString(texts.GetText("Txt_OK"));
    ok->setText(m_strOk);
    cancel->setText(ToQString(texts.GetText("Txt_Cancel")));
}

void CAddServerDlg::accept()
{
    m_strName = FromQString(m_pName->text());
    const std::string why = m_fnWhyRefused ? m_fnWhyRefused(std::string(Trim(m_strName))) : "";
    if (why.empty())
        QDialog::accept();
    else
        ShowRefusal(why);
}

// The name stays in the edit, selected, to be corrected once the message is closed.
void CAddServerDlg::ShowRefusal(const std::string& why)
{
    auto* box = new QMessageBox(
        QMessageBox::Warning, windowTitle(), ToQString(why), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->button(QMessageBox::Ok)->setText(m_strOk);
    m_pName->selectAll();
    m_pName->setFocus();
    box->open();
}
