#pragma once

#include "window/MainWindowView.h"

#include <QWidget>

#include <functional>

class CDialogBuilder;

// The controls of a window built from a dialog template, reached by their template ids. Texts
// cross into Qt and back through qt/QtText. A control the window lacks, or one of a kind that
// has no such property, is left alone and reads as empty.
//
// View is the interface the controls implement: a dialog's IWindowView, or the main window's
// IMainWindowView, whose face adds the rest, so that each face's view is one plain chain.
template <class View> class CQtControls : public View {
public:
    using Lookup = std::function<QWidget*(int id)>;

    // window: the window the controls lie on; it owns the warnings and the nested dialogs.
    CQtControls(QWidget& window, Lookup lookup);
    CQtControls(QWidget& window, const CDialogBuilder& builder);

    void SetTitle(const std::string& text) override;
    void SetText(int id, const std::string& text) override;
    std::string Text(int id) const override;
    void SetToolTip(int id, const std::string& text) override;
    void SetLink(int id, const std::string& text, const std::string& url) override;
    void SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void Show(int id, bool shown) override;
    void SetFocus(int id) override;

    void SetItems(int id, const std::vector<std::string>& items) override;
    void AddItem(int id, const std::string& item) override;
    std::vector<std::string> Items(int id) const override;
    int CurrentItem(int id) const override;
    void SetCurrentItem(int id, int index) override;
    std::vector<bool> SelectedItems(int id) const override;
    void SetSelectedItems(int id, const std::vector<bool>& selected) override;

    SRect ControlRect(int id) const override;
    void Place(int id, const SRect& rect) override;

    void ShowWarning(const std::string& text, const std::string& buttonText) override;
    bool RunDialog(IDialogBehaviour& dialog) override;

protected:
    QWidget* Control(int id) const { return m_lookup(id); }
    template <class T> T* Control(int id) const { return qobject_cast<T*>(Control(id)); }
    QWidget& Window() const { return m_window; }

private:
    QWidget& m_window;
    Lookup m_lookup;
};

extern template class CQtControls<IWindowView>;
extern template class CQtControls<IMainWindowView>;
using CQtControlView = CQtControls<IWindowView>;
