// Renders the SVG art.
#include "ui/art.h"

#include <QPainter>
#include <QSvgRenderer>

// Outside any namespace, as the resource initialiser requires.
static void initArtResources() {
  Q_INIT_RESOURCE(art);
}

namespace ui {

void InitArt() {
  initArtResources();
}

QPixmap ArtPixmap(const QString& name, const QSize& size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(":/art/" + name + ".svg");
  QPainter painter(&pixmap);
  renderer.render(&painter);
  return pixmap;
}

QIcon ArtIcon(const QString& name) {
  QIcon icon;
  for (int side : {16, 32}) icon.addPixmap(ArtPixmap(name, QSize(side, side)));
  return icon;
}

QIcon AppIcon() {
  QIcon icon;
  for (int side : {16, 32, 48, 64}) icon.addPixmap(ArtPixmap("app", QSize(side, side)));
  return icon;
}

}  // namespace ui
