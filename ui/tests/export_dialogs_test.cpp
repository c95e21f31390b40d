// The export dialogs with real corpus files: the options dialog's check tree, format switch,
// Browse, Escape, Cancel and close box; whole exports to CSV and to an Access database through
// both windows; Stop and the close box while an export runs; screenshots of both windows.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <utility>

#include "platform/program_folder.h"
#include "ui/desktop.h"
#include "ui/export_option_dlg.h"
#include "ui/export_progress_dlg.h"
#include "ui/folder_picker.h"
#include "ui/tests/gui_harness.h"
#include "ui/tests/gui_tests.h"

using guitest::Control;
using guitest::TheDesktop;

namespace {
constexpr const char* kNoFileSystemPath =
    "You cannot select \"My computer\" or \"My Network\" as destination. \r\n\r\n"
    "                          Please select proper drive path.";
constexpr const char* kStopQuestion = "Are you sure you want stop the export process ?";

// Runs action on the modal window of type T once it is up (inside its own event loop); the
// window is closed afterwards however the action ends, so a failed check never hangs the test.
template <typename T>
void WhenModal(const std::function<void(T&)>& action) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
    T* window = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!window || !window->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    action(*window);
    if (window->isVisible()) window->done(QDialog::Rejected);
  });
  poll->start(10);
}

// Runs action as the first window of type T is being shown, before it starts any work: the
// export window starts its export thread when shown, so signals connected here see every line.
template <typename T>
void AtShow(const std::function<void(T&)>& action) {
  class Filter : public QObject {
   public:
    explicit Filter(std::function<void(T&)> action) : QObject(qApp), action_(std::move(action)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
      T* window = qobject_cast<T*>(watched);
      if (!window || event->type() != QEvent::Show || !action_) return false;
      qApp->removeEventFilter(this);
      std::exchange(action_, {})(*window);
      deleteLater();
      return false;
    }

   private:
    std::function<void(T&)> action_;
  };
  qApp->installEventFilter(new Filter(action));
}

void ClickExport(ui::CTessalyDlg& dlg) {
  QTest::mouseClick(Control<QPushButton>(&dlg, "1008"), Qt::LeftButton);
}

// Toggles a node's check box the way a user does from the keyboard: select it, press Space.
void Toggle(QTreeWidget* tree, QTreeWidgetItem* item) {
  tree->setCurrentItem(item);
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_Space);
}

// Toggles it with the mouse: a click on the check box at the left of the node's row.
void ClickCheckBox(QTreeWidget* tree, QTreeWidgetItem* item) {
  const QRect row = tree->visualItemRect(item);
  const int indicator = tree->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, tree);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(row.left() + indicator / 2 + 2, row.center().y()));
}

bool Checked(const QTreeWidgetItem* item) {
  return item->checkState(0) == Qt::Checked;
}

// "label" or "label (unchecked)" for every node, in tree order.
QStringList CheckText(QTreeWidgetItem* node, int depth = 0) {
  QStringList lines{QString(depth * 2, ' ') + node->text(0) + (Checked(node) ? "" : " (unchecked)")};
  for (int i = 0; i < node->childCount(); ++i) lines << CheckText(node->child(i), depth + 1);
  return lines;
}

QStringList Children(QTreeWidgetItem* node) {
  QStringList labels;
  for (int i = 0; i < node->childCount(); ++i) labels << node->child(i)->text(0);
  return labels;
}

// The harness's single-line check, and for a wrapped label, whether its lines fit its height.
QStringList CutTexts(QWidget* window) {
  QStringList cut;
  for (const QString& text : guitest::CutTexts(window)) {
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    const auto wrapped = std::find_if(labels.begin(), labels.end(),
                                      [&](QLabel* label) { return label->text() == text && label->wordWrap(); });
    if (wrapped == labels.end() || (*wrapped)->heightForWidth((*wrapped)->width()) > (*wrapped)->height()) cut << text;
  }
  return cut;
}

bool Enabled(QWidget* window, const char* id) {
  return Control<QWidget>(window, id)->isEnabled();
}

// After an export: not exporting, Export enabled again, the channel's flags cleared.
bool ExportEnded(ui::CTessalyDlg& dlg) {
  const analysis::ProgressChannel& channel = dlg.Analysis().Channel();
  return !dlg.m_bExporting && Enabled(&dlg, "1008") && channel.abort == 0 && channel.done == 0;
}

// Each table's row count as the peer reader found it.
QMap<QString, int> PeerRowCounts(const QString& databasePath) {
  QFile file(guitest::CorpusDir() + "/expected/" + QFileInfo(databasePath).fileName() + ".json");
  QMap<QString, int> counts;
  if (!file.open(QIODevice::ReadOnly)) return counts;
  for (const QJsonValue& table : QJsonDocument::fromJson(file.readAll()).object().value("tables").toArray())
    counts[table.toObject().value("name").toString()] = table.toObject().value("rowCount").toInt(-1);
  return counts;
}

// What the export window showed.
struct ExportRun {
  QStringList statusLines;  // newest first
  QString percent;
  QStringList headers;
  QStringList statistics;  // "name\tcount"
  QStringList questions;
  QString target;  // the folder or file the window names at the end
  QPushButton* openFolder = nullptr;
};

QStringList StatusLines(ui::ExportProgressDlg& progress) {
  auto* list = Control<QListWidget>(&progress, "1095");
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

// Export with the options chosen by choose (which ends with Export/Save); during runs in the
// export window as soon as it is up. Waits for the statistics, reads the window, then OK.
enum class CloseWith { kOK, kCloseBox };
ExportRun Export(ui::CTessalyDlg& dlg, const std::function<void(ui::CExportOptionDlg&)>& choose,
                 const std::function<void(ui::ExportProgressDlg&)>& during = {}, const QString& screenshotName = {},
                 CloseWith closeWith = CloseWith::kOK) {
  ExportRun run;
  WhenModal<ui::CExportOptionDlg>([&](ui::CExportOptionDlg& options) {
    WhenModal<ui::ExportProgressDlg>([&](ui::ExportProgressDlg& progress) {
      if (during) during(progress);
      auto* ok = Control<QPushButton>(&progress, "1098");
      QTRY_VERIFY_WITH_TIMEOUT(ok->isVisible(), 120000);
      run.statusLines = StatusLines(progress);
      run.percent = Control<QLabel>(&progress, "1053")->text();
      auto* statistics = Control<QTableWidget>(&progress, "1097");
      for (int c = 0; c < statistics->columnCount(); ++c) run.headers << statistics->horizontalHeaderItem(c)->text();
      for (int r = 0; r < statistics->rowCount(); ++r)
        run.statistics << statistics->item(r, 0)->text() + "\t" + statistics->item(r, 1)->text();
      // The status log stays beside the statistics, never under them.
      auto* log = Control<QListWidget>(&progress, "1095");
      QVERIFY(log->isVisible());
      QVERIFY(!log->geometry().intersects(statistics->geometry()));
      QVERIFY(Control<QPushButton>(&progress, "1093")->isHidden());
      run.target = progress.Target();
      run.openFolder = Control<QPushButton>(&progress, "openFolder");
      if (run.openFolder->isEnabled()) QTest::mouseClick(run.openFolder, Qt::LeftButton);
      if (!screenshotName.isEmpty()) guitest::SaveScreenshot(&progress, screenshotName + "-statistics");
      QTest::keyClick(&progress, Qt::Key_Escape);
      QVERIFY(progress.isVisible());
      if (closeWith == CloseWith::kOK)
        QTest::mouseClick(ok, Qt::LeftButton);
      else
        progress.close();
      QVERIFY(!progress.isVisible());
    });
    choose(options);
  });
  ClickExport(dlg);
  run.questions = TheDesktop().questions;
  return run;
}

// Browse answered with folder, then Export/Save.
std::function<void(ui::CExportOptionDlg&)> ChooseAndSave(const QString& folder, const char* formatId) {
  return [folder, formatId](ui::CExportOptionDlg& options) {
    QTest::mouseClick(Control<QRadioButton>(&options, formatId), Qt::LeftButton);
    ui::SetFolderPicker([folder](QWidget*, const QString&, const QString&) { return ui::FolderPick{true, folder}; });
    QTest::mouseClick(Control<QPushButton>(&options, "1006"), Qt::LeftButton);
    QVERIFY(Enabled(&options, "1021"));
    QTest::mouseClick(Control<QPushButton>(&options, "1021"), Qt::LeftButton);
  };
}

QStringList TableNames(ui::CTessalyDlg& dlg) {
  return Children(dlg.TablesItem());
}

analysis::Table* TableNamed(ui::CTessalyDlg& dlg, const QString& name) {
  QTreeWidgetItem* node = guitest::ChildNamed(dlg.TablesItem(), name);
  return node ? reinterpret_cast<analysis::Table*>(node->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
}

// The statistics rows the runner's own counts give for these tables.
QStringList RunnerCounts(ui::CTessalyDlg& dlg, const QStringList& names) {
  QStringList rows;
  for (const QString& name : names) {
    analysis::Table* table = TableNamed(dlg, name);
    rows << name + "\t" + (table ? QString::number(table->exportedRecords) : QString("?"));
  }
  return rows;
}
}  // namespace

class ExportDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { TheDesktop() = {}; }
  void cleanup() { ui::SetFolderPicker({}); }

  void theCheckTreeFollowsTheMainTreeAndItsRules() {
    SKIP_WITHOUT_CORPUS_QT();
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, guitest::CorpusFile("jet4/queryTestV2003.mdb"));
    const QStringList tables = TableNames(dlg);
    const QStringList queries = Children(dlg.QueriesItem());
    QVERIFY(tables.size() >= 2);
    QVERIFY(!queries.isEmpty());
    const QTemporaryDir destination;

    WhenModal<ui::CExportOptionDlg>([&](ui::CExportOptionDlg& options) {
      QCOMPARE(options.windowTitle(), QString("Korvane Selbrin Export Option"));
      QCOMPARE(CutTexts(&options), QStringList());
      auto* tree = Control<QTreeWidget>(&options, "1079");
      QTreeWidgetItem* root = tree->topLevelItem(0);
      QCOMPARE(root->text(0), QString("queryTestV2003"));
      QCOMPARE(Children(root), QStringList({"TABLES", "QUERIES"}));
      QCOMPARE(Children(options.m_hTables), tables);
      QCOMPARE(Children(options.m_hQueries), queries);
      QVERIFY(CheckText(root).join('\n').indexOf("unchecked") < 0);
      // Initially: Access, schema and data, no destination, tree and Export/Save disabled.
      QVERIFY(Control<QRadioButton>(&options, "1041")->isChecked());
      QVERIFY(Control<QRadioButton>(&options, "1077")->isChecked());
      QCOMPARE(Control<QRadioButton>(&options, "1077")->text(), QString("Schema && Data"));
      QCOMPARE(Control<QGroupBox>(&options, "1027")->title(), QString("Browse Destination"));
      QVERIFY(!Enabled(&options, "1027"));
      QVERIFY(!tree->isEnabled());
      QVERIFY(!Enabled(&options, "1021"));
      auto* warning = Control<QLabel>(&options, "1099");
      QVERIFY(warning->isEnabled());
      QCOMPARE(warning->palette().color(QPalette::Active, QPalette::WindowText), QColor(Qt::red));

      // A place without a file-system path is refused.
      ui::SetFolderPicker([](QWidget*, const QString&, const QString&) { return ui::FolderPick{true, {}}; });
      QTest::mouseClick(Control<QPushButton>(&options, "1006"), Qt::LeftButton);
      QCOMPARE(TheDesktop().messages, QStringList({kNoFileSystemPath}));
      QVERIFY(Control<QLineEdit>(&options, "1086")->text().isEmpty());
      QVERIFY(!tree->isEnabled());
      QVERIFY(!Enabled(&options, "1021"));
      // A cancelled picker changes nothing.
      ui::SetFolderPicker([](QWidget*, const QString&, const QString&) { return ui::FolderPick{}; });
      QTest::mouseClick(Control<QPushButton>(&options, "1006"), Qt::LeftButton);
      QVERIFY(!tree->isEnabled());
      QCOMPARE(TheDesktop().messages.size(), 1);

      QString askedTitle;
      ui::SetFolderPicker([&](QWidget*, const QString& title, const QString&) {
        askedTitle = title;
        return ui::FolderPick{true, destination.path()};
      });
      QTest::mouseClick(Control<QPushButton>(&options, "1006"), Qt::LeftButton);
      QCOMPARE(askedTitle, QString(" Please select the Destination folder "));
      QCOMPARE(Control<QLineEdit>(&options, "1086")->text(), destination.path());
      QVERIFY(tree->isEnabled());
      QVERIFY(Enabled(&options, "1021"));
      guitest::SaveScreenshot(&options, "export-options");

      // Unchecking one table unchecks its folder and the root; checking it again leaves both.
      QTreeWidgetItem* first = options.m_hTables->child(0);
      ClickCheckBox(tree, first);
      QVERIFY(!Checked(first));
      QVERIFY(!Checked(options.m_hTables));
      QVERIFY(!Checked(root));
      QVERIFY(Checked(options.m_hTables->child(1)));
      QVERIFY(Checked(options.m_hQueries));
      Toggle(tree, first);
      QVERIFY(Checked(first));
      QVERIFY(!Checked(options.m_hTables));
      QVERIFY(!Checked(root));
      QVERIFY(Enabled(&options, "1021"));

      // The root checks and unchecks everything.
      Toggle(tree, root);
      QVERIFY(CheckText(root).join('\n').indexOf("unchecked") < 0);
      Toggle(tree, root);
      QStringList allUnchecked = CheckText(root);
      QCOMPARE(allUnchecked.filter("(unchecked)").size(), allUnchecked.size());
      QVERIFY(!Enabled(&options, "1021"));

      // Queries alone do not make an export.
      Toggle(tree, options.m_hQueries);
      for (int i = 0; i < options.m_hQueries->childCount(); ++i) QVERIFY(Checked(options.m_hQueries->child(i)));
      QVERIFY(!Checked(root));
      QVERIFY(!Enabled(&options, "1021"));
      Toggle(tree, options.m_hQueries->child(0));
      Toggle(tree, options.m_hQueries->child(0));
      QVERIFY(!Enabled(&options, "1021"));
      // Unchecking a folder unchecks its children and the root.
      Toggle(tree, options.m_hTables);
      QVERIFY(Checked(options.m_hTables->child(1)));
      QVERIFY(Enabled(&options, "1021"));
      Toggle(tree, options.m_hTables);
      QVERIFY(!Checked(options.m_hTables->child(1)));
      QVERIFY(!Enabled(&options, "1021"));
      Toggle(tree, options.m_hTables->child(1));
      QVERIFY(Enabled(&options, "1021"));

      // The format switch empties the destination; a check change then keeps Export/Save off.
      QTest::mouseClick(Control<QRadioButton>(&options, "1042"), Qt::LeftButton);
      QCOMPARE(options.m_nFormat, 2);
      QVERIFY(Control<QLineEdit>(&options, "1086")->text().isEmpty());
      QVERIFY(!Enabled(&options, "1021"));
      QVERIFY(!warning->isEnabled());
      QVERIFY(tree->isEnabled());
      Toggle(tree, options.m_hTables->child(0));
      QVERIFY(!Enabled(&options, "1021"));
      QVERIFY(Control<QRadioButton>(&options, "1077")->isChecked());
      QTest::mouseClick(Control<QRadioButton>(&options, "1076"), Qt::LeftButton);
      QCOMPARE(options.m_nMode, 10);
      QVERIFY(Control<QRadioButton>(&options, "1042")->isChecked());
      QVERIFY(!Control<QRadioButton>(&options, "1041")->isChecked());
      guitest::SaveScreenshot(&options, "export-options-csv");

      // Neither Escape nor Enter closes the dialog; Cancel does.
      QTest::keyClick(&options, Qt::Key_Escape);
      QTest::keyClick(tree, Qt::Key_Escape);
      QTest::keyClick(&options, Qt::Key_Return);
      QVERIFY(options.isVisible());
      QTest::mouseClick(Control<QPushButton>(&options, "1025"), Qt::LeftButton);
      QVERIFY(!options.isVisible());
    });
    dlg.m_strExportFolder = "untouched";
    dlg.m_nExportFormat = 7;
    dlg.m_nExportMode = 8;
    ClickExport(dlg);
    QCOMPARE(dlg.m_strExportFolder, std::string("untouched"));
    QCOMPARE(dlg.m_nExportFormat, 7);
    QCOMPARE(dlg.m_nExportMode, 8);
    QVERIFY(dlg.m_exportTables.empty());
    QVERIFY(dlg.m_exportQueries.empty());
    QVERIFY(Enabled(&dlg, "1008"));
    QVERIFY(QDir(destination.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());

    // The close box cancels too, and the next showing starts from the defaults again.
    WhenModal<ui::CExportOptionDlg>([&](ui::CExportOptionDlg& options) {
      QVERIFY(Control<QRadioButton>(&options, "1041")->isChecked());
      QVERIFY(CheckText(options.m_hRoot).join('\n').indexOf("unchecked") < 0);
      QVERIFY(!Enabled(&options, "1021"));
      options.close();
      QVERIFY(!options.isVisible());
    });
    ClickExport(dlg);
    QCOMPARE(dlg.m_strExportFolder, std::string("untouched"));
    QCOMPARE(dlg.m_nExportFormat, 7);
    QVERIFY(Enabled(&dlg, "1008"));
  }

  void aCsvExportWritesEveryTableAndQueryAndListsTheRunnersCounts() {
    SKIP_WITHOUT_CORPUS_QT();
    const QString file = guitest::CorpusFile("jet4/testIndexPropertiesV2003.mdb");
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, file);
    const QStringList tables = TableNames(dlg);
    QVERIFY(tables.size() >= 3);
    const QTemporaryDir destination;
    QStringList runningLines;
    QList<int> percents;
    AtShow<ui::ExportProgressDlg>([&](ui::ExportProgressDlg& progress) {
      QObject::connect(&progress, &ui::ExportProgressDlg::percentShown, &progress, [&](int p) { percents << p; });
    });
    const ExportRun run = Export(
        dlg, ChooseAndSave(destination.path(), "1042"),
        [&](ui::ExportProgressDlg& progress) {
          QCOMPARE(progress.windowTitle(), QString("Korvane Selbrin Export"));
          QVERIFY(Control<QPushButton>(&progress, "1098")->isHidden());
          QVERIFY(Control<QTableWidget>(&progress, "1097")->isHidden());
          QCOMPARE(CutTexts(&progress), QStringList());
          // The final line, then the line naming the folder written, a moment before the statistics.
          QTRY_COMPARE_WITH_TIMEOUT(StatusLines(progress).value(1), QString("Export completed Successfully..."), 60000);
          QVERIFY(StatusLines(progress).value(0).startsWith("Files written to folder: "));
          QVERIFY(!Enabled(&progress, "1093"));
          QCOMPARE(Control<QProgressBar>(&progress, "1056")->value(), 100);
          runningLines = StatusLines(progress);
          guitest::SaveScreenshot(&progress, "export-progress");
        },
        "export-progress");
    QCOMPARE(run.percent, QString("100%"));
    // The tables take the bar to 75 in equal steps, truncated; the end sets 100.
    QList<int> expectedPercents;
    for (int i = 1; i <= tables.size(); ++i) expectedPercents << i * 75 / int(tables.size());
    QCOMPARE(percents, expectedPercents << 100);
    QCOMPARE(runningLines.last(), QString("Export Database started..."));
    QCOMPARE(runningLines.value(2), QString("Export completed : ") + tables.last());
    QCOMPARE(runningLines.size(), 3 + 2 * tables.size());
    QCOMPARE(run.headers, QStringList({"Table Names", "No. Of Records"}));
    QCOMPARE(run.statistics, RunnerCounts(dlg, tables));
    const QMap<QString, int> peer = PeerRowCounts(file);
    for (const QString& row : run.statistics) {
      const QString name = row.section('\t', 0, 0);
      QCOMPARE(row.section('\t', 1).toInt(), peer.value(name, -2));
    }
    // The dated folder with a CSV file per table.
    QCOMPARE(dlg.m_nExportFormat, 2);
    QCOMPARE(dlg.m_nExportMode, 11);
    const QString folder = ui::ToQt(dlg.m_strExportFolder);
    QVERIFY2(folder.startsWith(destination.path() + "/Korvane_Selbrin_(DATE="), qPrintable(folder));
    QCOMPARE(QDir(folder + "/Tables").entryList({"*.csv"}, QDir::Files).size(), tables.size());
    QVERIFY(QDir(folder + "/Queries").exists());
    QFile statistics(QString::fromStdString(platform::ProgramFolder()) + "Export Statistics.log");
    QVERIFY(statistics.open(QIODevice::ReadOnly));
    QVERIFY(statistics.readAll().startsWith(("Database Path : " + dlg.m_strExportFolder + "\n\n").c_str()));
    QVERIFY(ExportEnded(dlg));
  }

  void theQueriesOfACsvExportBecomeScriptFiles() {
    SKIP_WITHOUT_CORPUS_QT();
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, guitest::CorpusFile("jet4/queryTestV2003.mdb"));
    const QStringList queries = Children(dlg.QueriesItem());
    QVERIFY(!queries.isEmpty());
    const QTemporaryDir destination;
    // After the export the close box closes the window without a question.
    const ExportRun run = Export(dlg, ChooseAndSave(destination.path(), "1042"), {}, {}, CloseWith::kCloseBox);
    // The last line names the folder written, and Open folder opens it.
    QCOMPARE(run.statusLines.value(0), "Files written to folder: " + ui::ToQt(dlg.m_strExportFolder));
    QCOMPARE(run.statusLines.value(1), QString("Export completed Successfully..."));
    QCOMPARE(TheDesktop().openedUrls, QList<QUrl>({QUrl::fromLocalFile(ui::ToQt(dlg.m_strExportFolder))}));
    QVERIFY(run.questions.isEmpty());
    QVERIFY(ExportEnded(dlg));
    QCOMPARE(dlg.m_exportQueries.size(), size_t(queries.size()));
    QCOMPARE(QDir(ui::ToQt(dlg.m_strExportFolder) + "/Queries").entryList({"*.sql"}, QDir::Files).size(),
             queries.size());
  }

  void anAccessExportCreatesTheDatabaseWithEveryRecord() {
    SKIP_WITHOUT_CORPUS_QT();
    const QString file = guitest::CorpusFile("jet4/testIndexPropertiesV2003.mdb");
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, file);
    const QStringList tables = TableNames(dlg);
    // A page of records still loading when Export is pressed is not read at the same time.
    guitest::Select(dlg, dlg.TablesItem()->child(0));
    const QTemporaryDir destination;
    const ExportRun run = Export(dlg, ChooseAndSave(destination.path(), "1041"));
    QCOMPARE(run.statusLines.value(0), "Database written: " + run.target);
    QCOMPARE(run.statusLines.value(1), QString("Export completed Successfully..."));
    QCOMPARE(QFileInfo(run.target).absolutePath(), destination.path());
    QCOMPARE(TheDesktop().openedUrls, QList<QUrl>({QUrl::fromLocalFile(destination.path())}));
    QCOMPARE(run.statistics, RunnerCounts(dlg, tables));
    const QMap<QString, int> peer = PeerRowCounts(file);
    for (const QString& row : run.statistics)
      QCOMPARE(row.section('\t', 1).toInt(), peer.value(row.section('\t', 0, 0), -2));
    QCOMPARE(dlg.m_nExportFormat, 1);
    QCOMPARE(ui::ToQt(dlg.m_strExportFolder), destination.path());
    const QStringList created = QDir(destination.path()).entryList({"Recovered_*.accdb"}, QDir::Files);
    QCOMPARE(created.size(), 1);

    // The new database, viewed in the same window, holds the same tables.
    guitest::BrowseAndView(dlg, destination.path() + "/" + created.first());
    QCOMPARE(TableNames(dlg), tables);
  }

  void aSqliteExportCreatesTheDatabaseWithEveryRecord() {
    SKIP_WITHOUT_CORPUS_QT();
    const QString file = guitest::CorpusFile("jet4/testIndexPropertiesV2003.mdb");
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, file);
    const QStringList tables = TableNames(dlg);
    const QTemporaryDir destination;
    const ExportRun run = Export(
        dlg,
        [&](ui::CExportOptionDlg& options) {
          QTest::mouseClick(Control<QRadioButton>(&options, "1043"), Qt::LeftButton);
          QCOMPARE(options.m_nFormat, 3);
          QVERIFY(Control<QRadioButton>(&options, "1043")->isChecked());
          QVERIFY(!Control<QRadioButton>(&options, "1041")->isChecked());
          QVERIFY(!Control<QLabel>(&options, "1099")->isEnabled());  // the database holds the queries
          guitest::SaveScreenshot(&options, "export-options-sqlite");
          ChooseAndSave(destination.path(), "1043")(options);
        },
        {}, "export-progress-sqlite");
    QVERIFY(run.statusLines.value(0).startsWith("Database written: "));
    QVERIFY(run.statusLines.value(0).endsWith(".sqlite"));
    QCOMPARE(run.statusLines.value(1), QString("Export completed Successfully..."));
    QCOMPARE(run.statistics, RunnerCounts(dlg, tables));
    const QMap<QString, int> peer = PeerRowCounts(file);
    for (const QString& row : run.statistics)
      QCOMPARE(row.section('\t', 1).toInt(), peer.value(row.section('\t', 0, 0), -2));
    QCOMPARE(dlg.m_nExportFormat, 3);
    const QStringList created = QDir(destination.path()).entryList({"Recovered_*.sqlite"}, QDir::Files);
    QCOMPARE(created.size(), 1);
  }

  void stopDuringTheSecondTableEndsTheExportWithTheTablesReached() {
    SKIP_WITHOUT_CORPUS_QT();
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, guitest::CorpusFile("jet4/testIndexPropertiesV2003.mdb"));
    const QStringList tables = TableNames(dlg);
    QVERIFY(tables.size() >= 3);
    const QTemporaryDir destination;
    int noAnswers = 0;
    AtShow<ui::ExportProgressDlg>([&](ui::ExportProgressDlg& progress) {
      auto* stop = Control<QPushButton>(&progress, "1093");
      QObject::connect(&progress, &ui::ExportProgressDlg::statusShown, &progress, [&, stop](const QString& line) {
        // The export thread waits while the line is shown: Stop lands in the second table.
        if (line == QString("Export started  : ") + tables[0]) {
          TheDesktop().answerYes = false;
          QTest::mouseClick(stop, Qt::LeftButton);
          ++noAnswers;
        }
        if (line == QString("Export started  : ") + tables[1]) {
          TheDesktop().answerYes = true;
          QTest::mouseClick(stop, Qt::LeftButton);
        }
      });
    });
    const ExportRun run = Export(dlg, ChooseAndSave(destination.path(), "1041"));
    QCOMPARE(noAnswers, 1);
    QCOMPARE(run.questions, QStringList({kStopQuestion, kStopQuestion}));
    QCOMPARE(run.statusLines.value(0), "Database written: " + run.target);
    QCOMPARE(run.statusLines.value(1), QString("Export Aborted by user..."));
    QCOMPARE(run.statusLines.filter("Export started  : ").size(), 2);
    QCOMPARE(run.statistics, RunnerCounts(dlg, tables.mid(0, 2)));
    QVERIFY(ExportEnded(dlg));
  }

  void theCloseBoxAsksWhileTheExportRunsAndClosesOnceItStops() {
    SKIP_WITHOUT_CORPUS_QT();
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, guitest::CorpusFile("jet4/testIndexPropertiesV2003.mdb"));
    const QStringList tables = TableNames(dlg);
    const QTemporaryDir destination;
    bool keptOpen = false;
    AtShow<ui::ExportProgressDlg>([&](ui::ExportProgressDlg& progress) {
      QObject::connect(&progress, &ui::ExportProgressDlg::statusShown, &progress, [&](const QString& line) {
        if (line != QString("Export started  : ") + tables[1]) return;
        TheDesktop().answerYes = false;
        progress.close();
        keptOpen = progress.isVisible();
        TheDesktop().answerYes = true;
        progress.close();
      });
    });
    WhenModal<ui::CExportOptionDlg>([&](ui::CExportOptionDlg& options) {
      WhenModal<ui::ExportProgressDlg>([&](ui::ExportProgressDlg& progress) {
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isVisible(), 60000);
        QVERIFY(StatusLines(progress).value(0) == "Export Aborted by user...");
      });
      ChooseAndSave(destination.path(), "1041")(options);
    });
    ClickExport(dlg);
    QVERIFY(keptOpen);
    QCOMPARE(TheDesktop().questions, QStringList({kStopQuestion, kStopQuestion}));
    QVERIFY(ExportEnded(dlg));
  }
};

GUI_TEST_CLASS(ExportDialogsTest);

#include "export_dialogs_test.moc"
