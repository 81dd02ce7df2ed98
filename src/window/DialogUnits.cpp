#include "window/DialogUnits.h"

#include <cmath>

namespace {

int Scale(int units, int base, int divisor)
{
    return static_cast<int>(std::lround(static_cast<double>(units) * base / divisor));
}

} // namespace

CDialogUnits::CDialogUnits(int baseX, int baseY)
    : m_nBaseX(baseX)
    , m_nBaseY(baseY)
{
}

int CDialogUnits::ToPixelsX(int units) const
{
    return Scale(units, m_nBaseX, 4);
}

int CDialogUnits::ToPixelsY(int units) const
{
    return Scale(units, m_nBaseY, 8);
}

SRect CDialogUnits::ToPixels(const SRect& units) const
{
    return { ToPixelsX(units.x), ToPixelsY(units.y), ToPixelsX(units.width),
        ToPixelsY(units.height) };
}
