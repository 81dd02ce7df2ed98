#include "qt/QtDialogUnits.h"

#include <QFont>
#include <QFontMetrics>

CDialogUnits QtDialogUnits(const QFont& font, const QPaintDevice* device)
{
    const QFontMetrics metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
    // The average over both alphabets, rounded, is what "average character width" has always
    // meant for dialog layouts; the font's own average field differs from font to font.
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return CDialogUnits((alphabet / 26 + 1) / 2, metrics.height());
}
