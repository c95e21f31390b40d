// Dialog controls.
#include "ui/dialog_controls.h"

namespace ui {

QPushButton* makeButton(WhiteDialog* dialog, const char* id, const QString& text, int x, int y, int w, int h) {
  auto* button = new QPushButton(text, dialog);
  button->setObjectName(id);
  button->setAutoDefault(false);
  dialog->place(button, x, y, w, h);
  return button;
}

QLabel* makeLabel(WhiteDialog* dialog, const char* id, const QString& text, int x, int y, int w, int h) {
  auto* label = new QLabel(text, dialog);
  if (id) label->setObjectName(id);
  dialog->place(label, x, y, w, h);
  return label;
}

QProgressBar* makePercentBar(WhiteDialog* dialog, const char* id, int x, int y, int w, int h) {
  auto* bar = new QProgressBar(dialog);
  bar->setObjectName(id);
  bar->setRange(0, 100);
  bar->setTextVisible(false);
  dialog->place(bar, x, y, w, h);
  return bar;
}

}  // namespace ui
