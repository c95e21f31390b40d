// Runs every GUI test class under one application object, in a private program folder and
// runtime folder so that logs, temporary files and the instance lock stay apart from a real run.
#include <QTemporaryDir>
#include <QTest>

#include "platform/program_folder.h"
#include "ui/tessaly_app.h"
#include "ui/tests/gui_harness.h"
#include "ui/tests/gui_tests.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir runtime;
  qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  // The window state and recent files of the tests stay out of the user's settings.
  qputenv("XDG_CONFIG_HOME", (runtime.path() + "/config").toUtf8());
  ui::CTessalyApp app(argc, argv);
  platform::SetProgramFolder(runtime.path().toStdString() + "/");
  guitest::InstallDesktopHooks();
  // TESSALY_GUI_TEST_CLASS=Name runs one class (its own test functions can then be named).
  const QString only = qEnvironmentVariable("TESSALY_GUI_TEST_CLASS");
  int failed = 0;
  for (const auto& makeTest : guitest::AllTests()) {
    std::unique_ptr<QObject> test = makeTest();
    if (!only.isEmpty() && only != test->metaObject()->className()) continue;
    failed += QTest::qExec(test.get(), argc, argv);
  }
  return failed == 0 ? 0 : 1;
}
