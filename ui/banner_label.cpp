// The banner redrawn at its label's width.
#include "ui/banner_label.h"

#include <QResizeEvent>

#include "ui/art.h"

namespace ui {

CBannerLabel::CBannerLabel(const QString& art, const QSize& natural, QWidget* parent)
    : QLabel(parent), m_art(art), m_natural(natural) {
  setFixedHeight(natural.height());
  setMinimumWidth(1);
  setPixmap(ArtBand(m_art, natural, devicePixelRatioF()));
}

// The hints stay those of the first size, so the redrawn picture never makes the window ask for more.
QSize CBannerLabel::sizeHint() const {
  return m_natural;
}

QSize CBannerLabel::minimumSizeHint() const {
  return QSize(1, m_natural.height());
}

void CBannerLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  if (event->size().width() > 0 && pixmap().deviceIndependentSize().toSize() != event->size())
    setPixmap(ArtBand(m_art, event->size(), devicePixelRatioF()));
}

}  // namespace ui
