#include "ui/DialogUnits.h"

#include <QFontMetrics>
#include <QString>

namespace {

// a * b / c rounded to the nearest integer; the template holds no negative values.
int MulDiv(int a, int b, int c) { return (a * b + c / 2) / c; }

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(letters / 26 + 1) / 2, metrics.height()};
}

int DialogUnitsToPixelsX(int x, DialogBaseUnits units) { return MulDiv(x, units.m_cx, 4); }

int DialogUnitsToPixelsY(int y, DialogBaseUnits units) { return MulDiv(y, units.m_cy, 8); }

QRect MapDialogRect(const DialogRect& rect, DialogBaseUnits units) {
  return {DialogUnitsToPixelsX(rect.m_x, units), DialogUnitsToPixelsY(rect.m_y, units),
          DialogUnitsToPixelsX(rect.m_cx, units), DialogUnitsToPixelsY(rect.m_cy, units)};
}
