// CAboutDlg: the About box with the application icon, the version line, the link to the
// project's page and OK.
#pragma once

#include "ui/white_dialog.h"

namespace ui {

constexpr const char* kProjectPage = "https://korvane-dunmere.example.org/";

class CAboutDlg : public WhiteDialog {
  Q_OBJECT
 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace ui
