#include "qt/QtDialog.h"

#include "qt/HyperLink.h"
#include "window/ControlIds.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

// Sets a flag for the lifetime of the scope and restores it after.
class CFlagScope {
public:
    explicit CFlagScope(bool& flag)
        : m_flag(flag)
        , m_bBefore(flag)
    {
        m_flag = true;
    }
    ~CFlagScope() { m_flag = m_bBefore; }
    CFlagScope(const CFlagScope&) = delete;
    CFlagScope& operator=(const CFlagScope&) = delete;

private:
    bool& m_flag;
    bool m_bBefore;
};

} // namespace

CQtDialog::CQtDialog(IDialogBehaviour& behaviour, QWidget* parent)
    : QDialog(parent)
    , m_behaviour(behaviour)
    , m_builder(CDialogTemplate::Load(behaviour.TemplateId()))
    , m_view(*this, m_builder)
{
    MakeLinks();
    m_builder.Build(*this);
    ForwardUserActions();
    CFlagScope busy(m_bInBehaviour);
    m_behaviour.OnInit(m_view);
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
        const auto forward = [this, id] { Forward(id); };
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
                    this, [this, id] { ForwardDoubleClick(id); }, Qt::QueuedConnection);
            });
        }
    }
}

void CQtDialog::Forward(int id)
{
    if (m_bInBehaviour)
        return;
    IDialogBehaviour::EAfter after = IDialogBehaviour::EAfter::Stay;
    {
        CFlagScope busy(m_bInBehaviour);
        after = m_behaviour.OnCommand(m_view, id);
    }
    Apply(after);
}

void CQtDialog::ForwardDoubleClick(int id)
{
    if (m_bInBehaviour || !isVisible())
        return;
    IDialogBehaviour::EAfter after = IDialogBehaviour::EAfter::Stay;
    {
        CFlagScope busy(m_bInBehaviour);
        after = m_behaviour.OnDoubleClick(m_view, id);
    }
    Apply(after);
}

void CQtDialog::Apply(IDialogBehaviour::EAfter after)
{
    if (after == IDialogBehaviour::EAfter::Accept)
        QDialog::accept();
    else if (after == IDialogBehaviour::EAfter::Cancel)
        QDialog::reject();
}

// Escape and the close button ask the behaviour, as the Cancel button does.
void CQtDialog::reject()
{
    Forward(IDC_CANCEL);
}
