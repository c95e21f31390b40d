// CTessalyApp.
#include "ui/tessaly_app.h"

#include <QStyleFactory>

#include "platform/single_instance.h"
#include "ui/art.h"
#include "ui/desktop.h"
#include "ui/tessaly_dlg.h"

namespace ui {

CTessalyApp::CTessalyApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(kAppTitle);
  setStyle(QStyleFactory::create("Fusion"));
  InitArt();
  setWindowIcon(AppIcon());
  InstallGuiMessageSink();
}

int CTessalyApp::InitInstance() {
  // Held for the whole run; the lock ends with the process.
  static platform::SingleInstance instance(kInstanceName);
  if (instance.alreadyRunning()) {
    ShowMessage(nullptr, kAlreadyRunning, kAppTitle);
    return 1;
  }
  CTessalyDlg dlg;
  dlg.exec();
  return 0;
}

}  // namespace ui
