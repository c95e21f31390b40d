// CBannerLabel: the window's banner, a band picture redrawn at the label's width whenever it is
// resized, so a maximised or widened window shows the banner across its whole width.
#pragma once

#include <QLabel>

namespace ui {

class CBannerLabel : public QLabel {
  Q_OBJECT
 public:
  // `art` names a band picture (see ArtBand); `natural` is the size the window first asks for.
  CBannerLabel(const QString& art, const QSize& natural, QWidget* parent);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QString m_art;
  QSize m_natural;
};

}  // namespace ui
