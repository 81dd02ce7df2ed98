#pragma once

#include "window/Geometry.h"

#include <string>
#include <vector>

class IDialogBehaviour;

// What a window's behaviour asks of the controls a face made from the window's dialog template.
// Controls are named by their template ids (window/ControlIds.h); texts are Windows-1252, as
// everywhere in the core. Setting a control's text, items or selection never notifies the
// behaviour back; only the user's actions do.
class IWindowView {
public:
    virtual ~IWindowView() = default;

    virtual void SetTitle(const std::string& text) = 0;
    virtual void SetText(int id, const std::string& text) = 0;
    virtual std::string Text(int id) const = 0;
    virtual void SetToolTip(int id, const std::string& text) = 0;
    // A link: the text shown and what clicking it opens.
    virtual void SetLink(int id, const std::string& text, const std::string& url) = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;
    virtual void Show(int id, bool shown) = 0;
    // Gives the control the focus and, in a one-line edit, selects its text.
    virtual void SetFocus(int id) = 0;

    // List boxes and drop-down lists.
    virtual void SetItems(int id, const std::vector<std::string>& items) = 0;
    virtual void AddItem(int id, const std::string& item) = 0;
    virtual std::vector<std::string> Items(int id) const = 0;
    // The current entry of a drop-down list (-1: none); a list box scrolls it into view.
    virtual int CurrentItem(int id) const = 0;
    virtual void SetCurrentItem(int id, int index) = 0;
    // The selected entries of a list box, one flag per entry.
    virtual std::vector<bool> SelectedItems(int id) const = 0;
    virtual void SetSelectedItems(int id, const std::vector<bool>& selected) = 0;

    // Geometry in pixels of the window's client area.
    virtual SRect ControlRect(int id) const = 0;
    virtual void Place(int id, const SRect& rect) = 0;

    // A warning over this window with one button; returns when the user has closed it.
    virtual void ShowWarning(const std::string& text, const std::string& buttonText) = 0;
    // A modal dialog over this window, built from the behaviour's template; true when the
    // behaviour accepted it.
    virtual bool RunDialog(IDialogBehaviour& dialog) = 0;
};
