#pragma once

#include <QList>

class QPlainTextEdit;
class QString;

// The tab stops of an edit that shows tab-separated columns: the template's stops, each moved
// to the right as far as the text needs, so that no entry reaches into the next column and
// pushes the rest of its line one column on (a long plant name in a narrow column).
class CColumnStops {
public:
    // Takes the edit's tab stops as they are now for the template's.
    explicit CColumnStops(const QPlainTextEdit& edit);

    // Gives the edit the stops that text needs; call it before the text replaces the old one.
    void FitTo(QPlainTextEdit& edit, const QString& text) const;

private:
    QList<double> m_template;
};
