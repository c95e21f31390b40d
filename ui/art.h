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
QIcon ArtIcon(const QString& name);
QIcon AppIcon();

}  // namespace ui
