#include "ui/ColumnStops.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QStringTokenizer>
#include <QTextDocument>
#include <QTextOption>

CColumnStops::CColumnStops(const QPlainTextEdit& edit)
{
    for (const QTextOption::Tab& tab : edit.document()->defaultTextOption().tabs())
        m_template.append(tab.position);
}

void CColumnStops::FitTo(QPlainTextEdit& edit, const QString& text) const
{
    if (edit.font() != m_font) {
        m_font = edit.font();
        m_widths.clear();
    }
    const QFontMetricsF metrics(m_font);
    const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
    QList<double> stops = m_template;
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        // Only the table's rows set the columns; a line with fewer cells (the total, the
        // percentages) runs across them as it is.
        if (line.count(u'\t') < stops.size())
            continue;
        double start = 0;
        qsizetype column = 0;
        for (const QStringView field : QStringTokenizer(line, u'\t')) {
            // The last cell has no stop to move: a long one is reached by scrolling.
            if (column == stops.size())
                break;
            const double overflow = start + Width(field, metrics) + gap - stops[column];
            if (overflow > 0) {
                for (qsizetype later = column; later < stops.size(); ++later)
                    stops[later] += overflow;
            }
            start = stops[column++];
        }
    }
    QList<QTextOption::Tab> tabs;
    for (const double stop : std::as_const(stops))
        tabs.append(QTextOption::Tab(stop, QTextOption::LeftTab));
    QTextOption option = edit.document()->defaultTextOption();
    if (option.tabs() == tabs)
        return;
    option.setTabs(tabs);
    edit.document()->setDefaultTextOption(option);
}

double CColumnStops::Width(QStringView text, const QFontMetricsF& metrics) const
{
    double width = 0;
    for (const QChar c : text) {
        auto found = m_widths.constFind(c.unicode());
        if (found == m_widths.cend())
            found = m_widths.insert(c.unicode(), metrics.horizontalAdvance(c));
        width += *found;
    }
    return width;
}
