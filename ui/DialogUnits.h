#pragma once

// Dialog units: a quarter of the dialog font's average character width horizontally and an
// eighth of its height vertically, so that a layout keeps its proportions with any font.

#include "ui/DialogTemplate.h"

#include <QFont>
#include <QRect>

struct DialogBaseUnits {
  int m_cx;  // average character width in pixels
  int m_cy;  // character height in pixels
};

// The average width is taken over the 52 Latin letters and rounded, as Windows does.
DialogBaseUnits BaseUnitsOf(const QFont& font);

// Each of position and size is converted on its own, rounding to the nearest pixel.
int DialogUnitsToPixelsX(int x, DialogBaseUnits units);
int DialogUnitsToPixelsY(int y, DialogBaseUnits units);
QRect MapDialogRect(const DialogRect& rect, DialogBaseUnits units);
