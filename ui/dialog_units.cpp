// Dialog font and dialog-unit conversion.
#include "ui/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace ui {

QFont DialogFont() {
  const QString family = QFontDatabase::hasFamily("Verdana") ? QString("Verdana") : QString("DejaVu Sans");
  QFont font(family);
  font.setPointSize(8);
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width the way dialog templates measure it: the 52 letters, rounded.
  const int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  baseWidth_ = (letters / 26 + 1) / 2;
  baseHeight_ = metrics.height();
}

int DialogUnits::x(int units) const {
  return units * baseWidth_ / 4;
}
int DialogUnits::y(int units) const {
  return units * baseHeight_ / 8;
}

QRect DialogUnits::rect(int left, int top, int width, int height) const {
  return QRect(x(left), y(top), x(width), y(height));
}

QSize DialogUnits::size(int width, int height) const {
  return QSize(x(width), y(height));
}

}  // namespace ui
