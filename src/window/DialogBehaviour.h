#pragma once

class IWindowView;

// The behaviour of a modal dialog, whichever face shows it. The face builds the dialog from
// TemplateId()'s template, calls OnInit, forwards every button and every change the user
// makes to a control, and closes the dialog when OnCommand says so.
class IDialogBehaviour {
public:
    enum class EAfter { Stay, Accept, Cancel };

    virtual ~IDialogBehaviour() = default;

    virtual int TemplateId() const = 0;
    virtual void OnInit(IWindowView& view) = 0;
    // A button was pressed (OK and Return are IDC_OK, Cancel, Escape and Close IDC_CANCEL), or
    // the user changed a control's text or selection.
    virtual EAfter OnCommand(IWindowView& view, int id) = 0;
    // The user double-clicked an entry of a list box; the click has ended when this is called.
    virtual EAfter OnDoubleClick(IWindowView&, int) { return EAfter::Stay; }
};
