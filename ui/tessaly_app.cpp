// CTessalyApp.
#include "ui/tessaly_app.h"

#include <QStyleFactory>
#include <QTimer>

#include "platform/single_instance.h"
#include "ui/art.h"
#include "ui/desktop.h"
#include "ui/tessaly_dlg.h"

namespace ui {

CTessalyApp::CTessalyApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(kAppTitle);
  // Where the window state and the recent files are kept (QSettings).
  setOrganizationName("tessaly");
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
  // "tessaly FILE" (also how the desktop opens a file with the viewer): Browse and View at once.
  const QStringList args = arguments();
  if (args.size() > 1 && !args[1].isEmpty()) {
    const QString file = args[1];
    QTimer::singleShot(0, &dlg, [&dlg, file] { dlg.OpenFile(file); });
  }
  dlg.exec();
  return 0;
}

}  // namespace ui
