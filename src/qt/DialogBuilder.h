#pragma once

#include "window/DialogTemplate.h"
#include "window/DialogUnits.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QDialog;
class QPlainTextEdit;

// Creates a template's controls on a dialog and hands them out by id. A window with controls
// of its own classes registers a factory for their ids; the builder then sets up the widget the
// factory made as it would its own (text, styles, geometry).
class CDialogBuilder {
public:
    using Factory = std::function<QWidget*(QWidget* parent)>;

    explicit CDialogBuilder(CDialogTemplate dialogTemplate);

    void SetFactory(int id, Factory factory);
    // Title, font, size and every control. Call once.
    void Build(QDialog& dialog);

    QWidget* Control(int id) const { return m_controls.value(id); }
    template <class T> T* Control(int id) const { return qobject_cast<T*>(Control(id)); }

    const CDialogTemplate& Template() const { return m_template; }
    const CDialogUnits& Units() const { return m_units; }
    // The template's font: its family where installed, else the system's sans serif.
    QFont Font() const;
    // Tab stops given in dialog units, for a multi-line edit whose text is a table.
    void SetTabStops(QPlainTextEdit& edit, const std::vector<int>& units) const;

    // The id a control was created for; -1 for other widgets.
    static int ControlId(const QWidget* widget);
    static void SetControlId(QWidget& widget, int id);

private:
    QWidget* Create(const CDialogControl& control, QWidget* parent) const;
    void SetUp(QWidget* widget, const CDialogControl& control) const;

    CDialogTemplate m_template;
    CDialogUnits m_units;
    QHash<int, Factory> m_factories;
    QHash<int, QPointer<QWidget>> m_controls;
};
