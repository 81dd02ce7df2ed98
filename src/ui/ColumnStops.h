#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QStringView>

class QFontMetricsF;
class QPlainTextEdit;
class QString;

// The tab stops of an edit that shows tab-separated columns: the template's stops, each moved
// to the right as far as a cell of the table needs, so that no cell reaches into the next
// column and pushes the rest of its row one column on (a long plant name in a narrow column).
// A row is a line with a tab for every stop; other lines never move a stop.
class CColumnStops {
public:
    // Takes the edit's tab stops as they are now for the template's.
    explicit CColumnStops(const QPlainTextEdit& edit);

    // Gives the edit the stops that text needs; call it before the text replaces the old one.
    void FitTo(QPlainTextEdit& edit, const QString& text) const;

private:
    // The width of text as the sum of its characters' advances, each measured once: shaping
    // every entry of a long list anew would cost the first report about a millisecond. The
    // space kept between the columns covers what kerning could add.
    double Width(QStringView text, const QFontMetricsF& metrics) const;

    QList<double> m_template;
    mutable QFont m_font;
    mutable QHash<char16_t, double> m_widths;
};
