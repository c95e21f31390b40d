// The look and keys every window of the viewer shares: white background and controls, black
// text, the dialog font, and Enter and Escape swallowed so neither closes the window.
#pragma once

#include <QDialog>

#include "ui/dialog_units.h"

namespace ui {

class WhiteDialog : public QDialog {
  Q_OBJECT
 public:
  explicit WhiteDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

  const DialogUnits& units() const { return units_; }
  // Places a child at a dialog-unit rectangle (offset down by the menu bar, if any).
  void place(QWidget* child, int x, int y, int width, int height);
  // Gives the window its fixed dialog-unit size.
  void setDialogSize(int width, int height);
  void setTopOffset(int pixels) { topOffset_ = pixels; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  DialogUnits units_;
  int topOffset_ = 0;
};

}  // namespace ui
