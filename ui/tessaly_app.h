// CTessalyApp: the application. One copy per user; it shows the main window modally and ends
// when that window closes.
#pragma once

#include <QApplication>

namespace ui {

class CTessalyApp : public QApplication {
  Q_OBJECT
 public:
  CTessalyApp(int& argc, char** argv);
  // The program's exit code: 1 when another copy is already running, else 0.
  int InitInstance();
};

constexpr const char* kInstanceName = "KorvaneDunmere";
constexpr const char* kAlreadyRunning = "Another instance of application is already running.";

}  // namespace ui
