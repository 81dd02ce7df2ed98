#pragma once

#include "window/DialogBehaviour.h"

#include <functional>

class IWindowView;

// Runs a dialog behaviour inside the dialog a face built from its template: the face forwards
// the user's buttons, changes and double clicks here and ends the dialog when told to.
class CDialogRunner {
public:
    // end: closes the dialog, true for accepted.
    using End = std::function<void(bool accepted)>;

    CDialogRunner(IDialogBehaviour& behaviour, IWindowView& view, End end);

    void Init();
    // A button was pressed or the user changed a control.
    void Command(int id);
    // A double click on a list entry, after the click has ended; shown: whether the dialog is
    // still on screen (a double click queued behind the dialog's end is dropped).
    void DoubleClick(int id, bool shown);

private:
    void Run(const std::function<IDialogBehaviour::EAfter()>& call);

    IDialogBehaviour& m_behaviour;
    IWindowView& m_view;
    End m_end;
    // While the behaviour runs, the changes it makes to the controls are not the user's.
    bool m_bInBehaviour = false;
};
