#pragma once

#include "window/DialogUnits.h"

class QFont;
class QPaintDevice;

// The dialog units of a font as drawn on device (the screen when null).
CDialogUnits QtDialogUnits(const QFont& font, const QPaintDevice* device = nullptr);
