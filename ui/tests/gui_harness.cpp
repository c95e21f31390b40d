// GUI test harness.
#include "ui/tests/gui_harness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "ui/desktop.h"
#include "ui/splash_screen.h"

namespace guitest {

QString CorpusDir() {
  QString dir = qEnvironmentVariable("TESSALY_CORPUS");
  if (dir.isEmpty()) dir = QString(TESSALY_SHARED_DIR) + "/corpus";
  return QDir(dir).exists() ? dir : QString();
}

QString CorpusFile(const QString& relative) {
  const QString dir = CorpusDir();
  if (dir.isEmpty()) return {};
  const QString path = dir + "/" + relative;
  return QFile::exists(path) ? path : QString();
}

QString CorpusFileWithEmptyPages(const QString& folder, const QString& relative) {
  const QString copy = folder + "/large-" + QFileInfo(relative).fileName();
  if (!QFile::copy(CorpusFile(relative), copy)) return {};
  if (!QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner)) return {};
  if (!QFile(copy).resize(qint64(1) << 30)) return {};
  return copy;
}

QStringList ExpectedTableNames(const QString& databasePath) {
  QFile file(CorpusDir() + "/expected/" + QFileInfo(databasePath).fileName() + ".json");
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList names;
  for (const QJsonValue& table : QJsonDocument::fromJson(file.readAll()).object().value("tables").toArray())
    names << table.toObject().value("name").toString();
  return names;
}

Desktop& TheDesktop() {
  static Desktop desktop;
  return desktop;
}

void InstallDesktopHooks() {
  ui::DesktopHooks hooks;
  hooks.message = [](const QString& text, const QString&) { TheDesktop().messages << text; };
  hooks.question = [](const QString& text, const QString&) {
    TheDesktop().questions << text;
    return TheDesktop().answerYes;
  };
  hooks.chooseDatabaseFile = [] { return TheDesktop().nextFile; };
  hooks.openUrl = [](const QUrl& url) { TheDesktop().openedUrls << url; };
  hooks.chooseSaveFile = [](const QString& suggested) {
    TheDesktop().suggestedSaveNames << suggested;
    return TheDesktop().nextSaveFile;
  };
  ui::SetDesktopHooks(hooks);
}

ViewRun BrowseAndView(ui::CTessalyDlg& dlg, const QString& path, const std::function<void(ui::CProgressDlg&)>& during,
                      const QString& screenshotName) {
  // The first click while the splash screen is up only hides it.
  ui::CSplashScreen::HideSplashScreen();
  TheDesktop().nextFile = path;
  QTest::mouseClick(Control<QPushButton>(&dlg, "1006"), Qt::LeftButton);
  return ViewBy(
      dlg, [&] { QTest::mouseClick(Control<QPushButton>(&dlg, "1007"), Qt::LeftButton); }, during, screenshotName);
}

ViewRun ViewBy(ui::CTessalyDlg& dlg, const std::function<void()>& start,
               const std::function<void(ui::CProgressDlg&)>& during, const QString& screenshotName) {
  ui::CSplashScreen::HideSplashScreen();
  ViewRun run;
  // The progress window of this run is the one that comes up next (a previous run's stays hidden).
  auto* poll = new QTimer(&dlg);
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, &dlg, [&, poll] {
    ui::CProgressDlg* progress = dlg.ProgressDlg();
    if (!progress || !progress->isVisible()) return;
    // Not from inside another modal window's loop (a password asked for): the checks below wait
    // in a loop of their own, which must not hold that window's answer back.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != progress) return;
    poll->stop();
    poll->deleteLater();
    // However the checks below end, the modal window closes so the test goes on.
    struct CloseAtEnd {
      ui::CProgressDlg* window;
      ~CloseAtEnd() {
        if (window->isVisible()) window->done(QDialog::Rejected);
      }
    } closeAtEnd{progress};
    if (during) during(*progress);
    QTRY_COMPARE_WITH_TIMEOUT(progress->stopButton()->text(), QString("Close"), 60000);
    QTRY_VERIFY_WITH_TIMEOUT(!dlg.IsRecovering(), 60000);
    // The status thread ends on its own, after the worker or the table thread may have shown "Close".
    QTRY_VERIFY_WITH_TIMEOUT(
        progress->statusList()->count() > 0 && (progress->statusList()->item(0)->text() == "Recovery Completed" ||
                                                progress->statusList()->item(0)->text() == "Analysis failed"),
        60000);
    for (int i = 0; i < progress->statusList()->count(); ++i)
      run.statusLines << progress->statusList()->item(i)->text();
    run.percent = Control<QLabel>(progress, "1053")->text();
    run.tablesFound = Control<QLabel>(progress, "1061")->text();
    run.buttonText = progress->stopButton()->text();
    if (!screenshotName.isEmpty()) SaveScreenshot(progress, screenshotName);
    QTest::keyClick(progress, Qt::Key_Escape);
    QVERIFY(progress->isVisible());
    progress->stopButton()->click();
  });
  poll->start();
  start();
  return run;
}

namespace {
void appendTree(QTreeWidgetItem* item, int depth, QStringList& lines) {
  for (int i = 0; i < item->childCount(); ++i) {
    QTreeWidgetItem* child = item->child(i);
    lines << QString(depth * 2, ' ') + child->text(0) + (child->font(0).bold() ? "*" : "");
    appendTree(child, depth + 1, lines);
  }
}
}  // namespace

QStringList TreeText(QTreeWidget* tree) {
  QStringList lines;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) {
    lines << tree->topLevelItem(i)->text(0);
    appendTree(tree->topLevelItem(i), 1, lines);
  }
  return lines;
}

QTreeWidgetItem* ChildNamed(QTreeWidgetItem* parent, const QString& label) {
  for (int i = 0; parent && i < parent->childCount(); ++i)
    if (parent->child(i)->text(0) == label) return parent->child(i);
  return nullptr;
}

void Select(ui::CTessalyDlg& dlg, QTreeWidgetItem* item) {
  auto* tree = Control<QTreeWidget>(&dlg, "1001");
  tree->setCurrentItem(item);
}

bool WaitForRecords(ui::CTessalyDlg& dlg) {
  return QTest::qWaitFor([&] { return !dlg.IsLoadingRecords(); }, 30000);
}

QStringList GridRows(ui::CTessalyDlg& dlg) {
  auto* list = Control<QTableWidget>(&dlg, "1002");
  QStringList rows;
  for (int r = 0; r < list->rowCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < list->columnCount(); ++c) cells << (list->item(r, c) ? list->item(r, c)->text() : QString());
    rows << cells.join('\t');
  }
  return rows;
}

QStringList CutTexts(QWidget* window) {
  QStringList cut;
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (label->text().isEmpty() || label->text().startsWith("<a ")) continue;
    if (label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width()) cut << label->text();
  }
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    const QFontMetrics metrics = button->fontMetrics();
    if (metrics.horizontalAdvance(button->text()) + 6 > button->width() || metrics.height() + 4 > button->height())
      cut << button->text();
  }
  return cut;
}

QString SaveScreenshot(QWidget* window, const QString& name) {
  const QString dir = TESSALY_SCREENSHOT_DIR;
  QDir().mkpath(dir);
  const QString path = dir + "/" + name + ".png";
  window->grab().save(path);
  return path;
}

}  // namespace guitest

#include "ui/tests/gui_tests.h"

namespace guitest {
std::vector<TestFactory>& AllTests() {
  static std::vector<TestFactory> tests;
  return tests;
}
}  // namespace guitest
