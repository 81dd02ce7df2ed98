#include "ui/DialogUnits.h"

#include <QFontMetrics>

#include <cmath>

namespace {

int Scale(int units, int base, int divisor)
{
    return static_cast<int>(std::lround(static_cast<double>(units) * base / divisor));
}

} // namespace

CDialogUnits::CDialogUnits(const QFont& font, const QPaintDevice* device)
{
    const QFontMetrics metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
    // The average over both alphabets, rounded, is what "average character width" has always
    // meant for dialog layouts; the font's own average field differs from font to font.
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseX = (alphabet / 26 + 1) / 2;
    m_nBaseY = metrics.height();
}

int CDialogUnits::ToPixelsX(int units) const
{
    return Scale(units, m_nBaseX, 4);
}

int CDialogUnits::ToPixelsY(int units) const
{
    return Scale(units, m_nBaseY, 8);
}

QRect CDialogUnits::ToPixels(const QRect& units) const
{
    return QRect(ToPixelsX(units.x()), ToPixelsY(units.y()), ToPixelsX(units.width()),
        ToPixelsY(units.height()));
}
