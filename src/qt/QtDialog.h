#pragma once

#include "qt/DialogBuilder.h"
#include "qt/QtControlView.h"
#include "window/DialogBehaviour.h"
#include "window/DialogRunner.h"

#include <QDialog>

// Any dialog behaviour shown as a Qt dialog built from the behaviour's template. Clicks and the
// user's edits and selections go to the behaviour as commands; Escape and the window's close
// button are Cancel, Return the template's default button.
class CQtDialog : public QDialog {
    Q_OBJECT
public:
    CQtDialog(IDialogBehaviour& behaviour, QWidget* parent = nullptr);

    // Shows the dialog modally; true when the behaviour accepted it.
    static bool Run(IDialogBehaviour& behaviour, QWidget* parent);

    IWindowView& View() { return m_view; }
    QWidget* Control(int id) const { return m_builder.Control(id); }

    void reject() override;

private:
    void MakeLinks();
    void ForwardUserActions();

    CDialogBuilder m_builder;
    CQtControlView m_view;
    CDialogRunner m_runner;
};
