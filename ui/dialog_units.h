// Dialog units: layouts are given in units of the dialog font, a quarter of its average
// character width across and an eighth of its height down, so they grow with the font.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace ui {

// Verdana 8 pt, or DejaVu Sans 8 pt where Verdana is not installed.
QFont DialogFont();

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  int x(int units) const;
  int y(int units) const;
  QRect rect(int x, int y, int width, int height) const;
  QSize size(int width, int height) const;

 private:
  int baseWidth_;   // average character width in pixels
  int baseHeight_;  // character height in pixels
};

}  // namespace ui
