#include "ui/AddServerDlg.h"

#include "config/Texts.h"
#include "ui/DialogBuilder.h"
#include "ui/ProfileFormat.h"
#include "ui/QtText.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

CAddServerDlg::CAddServerDlg(const CTexts& texts, QWidget* parent) : QDialog(parent)
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
    ok->setText(ToQString(texts.GetText("Txt_OK")));
    cancel->setText(ToQString(texts.GetText("Txt_Cancel")));
}

void CAddServerDlg::accept()
{
    m_strName = FromQString(m_pName->text());
    QDialog::accept();
}
