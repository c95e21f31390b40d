// WhiteDialog.
#include "ui/white_dialog.h"

#include <QKeyEvent>

namespace ui {

WhiteDialog::WhiteDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags), units_(DialogFont()) {
  setFont(DialogFont());
  QPalette white = palette();
  for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase})
    white.setColor(role, Qt::white);
  // Black text, except that disabled controls still look disabled.
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    white.setColor(QPalette::Active, role, Qt::black);
    white.setColor(QPalette::Inactive, role, Qt::black);
    white.setColor(QPalette::Disabled, role, Qt::gray);
  }
  setPalette(white);
  setAutoFillBackground(true);
}

void WhiteDialog::place(QWidget* child, int x, int y, int width, int height) {
  child->setGeometry(units_.rect(x, y, width, height).translated(0, topOffset_));
}

void WhiteDialog::setDialogSize(int width, int height) {
  setFixedSize(units_.size(width, height) + QSize(0, topOffset_));
}

void WhiteDialog::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: event->accept(); return;
    default: QDialog::keyPressEvent(event);
  }
}

}  // namespace ui
