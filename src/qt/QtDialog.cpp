#include "qt/QtDialog.h"

#include "qt/HyperLink.h"
#include "window/ControlIds.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

CQtDialog::CQtDialog(IDialogBehaviour& behaviour, QWidget* parent)
    : QDialog(parent)
    , m_builder(CDialogTemplate::Load(behaviour.TemplateId()))
    , m_view(*this, m_builder)
    , m_runner(behaviour, m_view,
          [this](bool accepted) { accepted ? QDialog::accept() : QDialog::reject(); })
{
    MakeLinks();
    m_builder.Build(*this);
    ForwardUserActions();
    m_runner.Init();
}

bool CQtDialog::Run(IDialogBehaviour& behaviour, QWidget* parent)
{
    CQtDialog dialog(behaviour, parent);
    return dialog.exec() == QDialog::Accepted;
}

// A static text that notifies its owner is a link.
void CQtDialog::MakeLinks()
{
    for (const CDialogControl& control : m_builder.Template().m_controls) {
        if (control.kind == CDialogControl::Label && control.Has(CDialogControl::Notify))
            m_builder.SetFactory(control.nId, [](QWidget* owner) { return new CHyperLink(owner); });
    }
}

void CQtDialog::ForwardUserActions()
{
    for (const CDialogControl& control : m_builder.Template().m_controls) {
        const int id = control.nId;
        QWidget* widget = m_builder.Control(id);
        if (id == -1 || !widget)
            continue;
        const auto forward = [this, id] { m_runner.Command(id); };
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            connect(button, &QAbstractButton::clicked, this, forward);
        } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            connect(line, &QLineEdit::textEdited, this, forward);
        } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
            connect(edit, &QPlainTextEdit::textChanged, this, forward);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            connect(combo, &QComboBox::activated, this, forward);
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            connect(list, &QListWidget::itemSelectionChanged, this, forward);
            // Posted, so the double click has ended before the dialog may close.
            connect(list, &QListWidget::itemDoubleClicked, this, [this, id] {
                QMetaObject::invokeMethod(
                    this, [this, id] { m_runner.DoubleClick(id, isVisible()); },
                    Qt::QueuedConnection);
            });
        }
    }
}

// Escape and the close button ask the behaviour, as the Cancel button does.
void CQtDialog::reject()
{
    m_runner.Command(IDC_CANCEL);
}
