#pragma once

#include "window/Geometry.h"

// Dialog units of a font, from its base units (the average character width and the character
// height in pixels): a quarter of the width horizontally, an eighth of the height vertically.
// Layouts written in them scale with the font.
class CDialogUnits {
public:
    CDialogUnits(int baseX, int baseY);

    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    // Position and size are converted separately, as a template's control is placed.
    SRect ToPixels(const SRect& units) const;

private:
    int m_nBaseX;
    int m_nBaseY;
};
