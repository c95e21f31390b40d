// The program's own pictures, drawn from the SVG files of the resource ":/art".
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace ui {

// Registers the resource; the resource lives in a static library, so the program calls this once.
void InitArt();

// The picture scaled to exactly this size (the banner and the splash fill their controls).
QPixmap ArtPixmap(const QString& name, const QSize& size);
// A band picture as wide and tall as `size`: its element "sky" stretched across the whole width,
// its element "mark" drawn in proportion to the height at the left (cut off when too narrow), so
// the band fills a control of any width without stretching its lettering. `pixelRatio` draws it
// sharp on a high-density screen.
QPixmap ArtBand(const QString& name, const QSize& size, qreal pixelRatio = 1);
QIcon ArtIcon(const QString& name);
QIcon AppIcon();

}  // namespace ui
