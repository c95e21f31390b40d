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

QPixmap ArtBand(const QString& name, const QSize& size, qreal pixelRatio) {
  QPixmap pixmap(size * pixelRatio);
  pixmap.setDevicePixelRatio(pixelRatio);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(":/art/" + name + ".svg");
  const QRectF box = renderer.viewBoxF();
  if (box.isEmpty()) return pixmap;
  QPainter painter(&pixmap);
  renderer.render(&painter, "sky", QRectF(QPointF(0, 0), QSizeF(size)));
  // The mark's place in the picture, scaled alike both ways so its lettering keeps its shape.
  const qreal scale = size.height() / box.height();
  const QRectF mark =
      renderer.transformForElement("mark").mapRect(renderer.boundsOnElement("mark")).translated(-box.topLeft());
  renderer.render(&painter, "mark",
                  QRectF(mark.x() * scale, mark.y() * scale, mark.width() * scale, mark.height() * scale));
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
