#pragma once

#include <QFont>
#include <QRect>

class QPaintDevice;

// Dialog units of a font: a quarter of its average character width horizontally, an eighth of
// its character height vertically. Layouts written in them scale with the font.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font, const QPaintDevice* device = nullptr);

    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    // Position and size are converted separately, as a template's control is placed.
    QRect ToPixels(const QRect& units) const;

private:
    int m_nBaseX;
    int m_nBaseY;
};
