// The main window with real corpus files: start-up state and layout, Browse and View filling
// the tree with tables, columns and queries, a query's SQL and the "QUERIES" folder, a second
// View of the same file, the busy messages, the close question, Help and About.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "platform/file_system.h"
#include "platform/single_instance.h"
#include "records/ole_files.h"
#include "ui/about_dlg.h"
#include "ui/splash_screen.h"
#include "ui/tessaly_app.h"
#include "ui/tests/gui_harness.h"
#include "ui/tests/gui_tests.h"

using guitest::Control;
using guitest::TheDesktop;

namespace {
constexpr const char* kRecoverBusy = "Recover operation is in progress..Pls wait, or cancel that operation";
constexpr const char* kExportBusy = "Export operation is in progress..Pls wait, or cancel that operation";

bool enabled(ui::CTessalyDlg& dlg, const char* id) {
  return Control<QPushButton>(&dlg, id)->isEnabled();
}
}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { TheDesktop() = {}; }

  void startsWithOnlyBrowseEnabledAndFitsTheScreen() {
    ui::CTessalyDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.windowTitle(), QString("Korvane Dunmere v3.3"));
    QVERIFY(enabled(dlg, "1006"));
    for (const char* id : {"1007", "1008", "1070", "1071"}) QVERIFY2(!enabled(dlg, id), id);
    QVERIFY(Control<QTableWidget>(&dlg, "1002")->isHidden());
    QVERIFY(Control<QPlainTextEdit>(&dlg, "1003")->isHidden());
    QVERIFY(Control<QWidget>(&dlg, "1082")->isVisible());
    QStringList tree = guitest::TreeText(Control<QTreeWidget>(&dlg, "1001"));
    QCOMPARE(tree, QStringList({"DATABASE_NAME", "  TABLES", "  QUERIES"}));
    // With room for a title bar and a panel on a 1366 x 768 screen.
    QVERIFY2(dlg.width() <= 1366 && dlg.height() <= 768 - 70,
             qPrintable(QString("%1x%2").arg(dlg.width()).arg(dlg.height())));
    QCOMPARE(guitest::CutTexts(&dlg), QStringList());
    // The splash screen is up; the first click only hides it.
    ui::CSplashScreen* splash = ui::CSplashScreen::Current();
    QVERIFY(splash && splash->isVisible());
    QCOMPARE(guitest::CutTexts(splash), QStringList());
    guitest::SaveScreenshot(splash, "splash-screen");
    TheDesktop().nextFile = "/nowhere/Shop.mdb";
    QTest::mouseClick(Control<QPushButton>(&dlg, "1006"), Qt::LeftButton);
    QVERIFY(!ui::CSplashScreen::Current());
    QCOMPARE(Control<QLineEdit>(&dlg, "1005")->text(), QString());
    QTest::mouseClick(Control<QPushButton>(&dlg, "1006"), Qt::LeftButton);
    QCOMPARE(Control<QLineEdit>(&dlg, "1005")->text(), QString("/nowhere/Shop.mdb"));
    QVERIFY(enabled(dlg, "1007"));
    QVERIFY(!enabled(dlg, "1008"));
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QTest::keyClick(&dlg, Qt::Key_Return);
    QVERIFY(dlg.isVisible());
  }

  void viewShowsTablesWithColumnsAndTheProgressEndsInClose() {
    SKIP_WITHOUT_CORPUS_QT();
    const QString path = guitest::CorpusFile("jet4/testV2003.mdb");
    ui::CTessalyDlg dlg;
    dlg.show();
    const guitest::ViewRun run = guitest::BrowseAndView(dlg, path, {}, "progress-window");
    QCOMPARE(Control<QLineEdit>(&dlg, "1005")->text(), path);
    QCOMPARE(run.buttonText, QString("Close"));
    QCOMPARE(run.percent, QString("100%"));
    QVERIFY(!run.statusLines.isEmpty());
    QCOMPARE(run.statusLines.first(), QString("Recovery Completed"));
    QVERIFY(run.statusLines.contains("Analyzing started"));
    // Every table counted; the two catalog tables are among those read but not in the tree.
    const QStringList expected = guitest::ExpectedTableNames(path);
    QCOMPARE(run.tablesFound, QString("%1 (%1)").arg(expected.size() + 2));

    QTreeWidgetItem* tables = dlg.TablesItem();
    QCOMPARE(dlg.TablesItem()->parent()->text(0), QString("testV2003"));
    QStringList shown;
    for (int i = 0; i < tables->childCount(); ++i) shown << tables->child(i)->text(0);
    QStringList sortedExpected = expected;
    shown.sort();
    sortedExpected.sort();
    QCOMPARE(shown, sortedExpected);

    QTreeWidgetItem* table1 = guitest::ChildNamed(tables, "Table1");
    QVERIFY(table1);
    QVERIFY(table1->font(0).bold());  // it holds rows
    QVERIFY(!guitest::ChildNamed(tables, "Table2")->font(0).bold());
    QCOMPARE(table1->childCount(), 9);
    QCOMPARE(table1->child(0)->text(0), QString("A [TEXT(100)]"));
    QCOMPARE(table1->child(2)->text(0), QString("C [BYTE]"));
    QCOMPARE(guitest::ChildNamed(tables, "Table3")->child(0)->text(0), QString("a [COUNTER]"));
    QVERIFY(enabled(dlg, "1006"));
    QVERIFY(enabled(dlg, "1007"));
    QVERIFY(enabled(dlg, "1008"));
  }

  void secondViewOfTheSameFileGivesTheSameTree() {
    SKIP_WITHOUT_CORPUS_QT();
    const QString path = guitest::CorpusFile("jet4/queryTestV2003.mdb");
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, path);
    const QStringList first = guitest::TreeText(Control<QTreeWidget>(&dlg, "1001"));
    QVERIFY(first.size() > 10);
    guitest::BrowseAndView(dlg, path);
    QCOMPARE(guitest::TreeText(Control<QTreeWidget>(&dlg, "1001")), first);
  }

  void queryShowsItsSqlAndTheQueriesFolderShowsNothing() {
    SKIP_WITHOUT_CORPUS_QT();
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, guitest::CorpusFile("jet4/queryTestV2003.mdb"));
    QVERIFY(guitest::WaitForRecords(dlg));  // a page still loading keeps the selection
    QTreeWidgetItem* queries = dlg.QueriesItem();
    QStringList names;
    for (int i = 0; i < queries->childCount(); ++i) names << queries->child(i)->text(0);
    QCOMPARE(names, QStringList({"SelectQuery", "UpdateQuery", "AppendQuery", "DeleteQuery", "MakeTableQuery",
                                 "CrosstabQuery", "UnionQuery", "PassthroughQuery", "DataDefinitionQuery"}));

    auto* edit = Control<QPlainTextEdit>(&dlg, "1003");
    guitest::Select(dlg, guitest::ChildNamed(queries, "DataDefinitionQuery"));
    QVERIFY(edit->isVisible());
    QVERIFY(Control<QTableWidget>(&dlg, "1002")->isHidden());
    QCOMPARE(edit->toPlainText(), QString("CREATE TABLE Table5 (col1 CHAR, col2 CHAR);"));
    QCOMPARE(Control<QLabel>(&dlg, "1068")->text(), QString("DataDefinitionQuery"));
    QCOMPARE(Control<QLabel>(&dlg, "1064")->text(), QString("1"));
    QCOMPARE(Control<QLabel>(&dlg, "1074")->text(), QString("1"));
    QVERIFY(!enabled(dlg, "1070") && !enabled(dlg, "1071"));
    guitest::Select(dlg, guitest::ChildNamed(queries, "SelectQuery"));
    QVERIFY(edit->toPlainText().startsWith("SELECT DISTINCT Table1.*"));
    guitest::SaveScreenshot(&dlg, "main-window-query");

    guitest::Select(dlg, queries);
    QVERIFY(edit->isVisible());
    QCOMPARE(edit->toPlainText(), QString());
    QCOMPARE(Control<QLabel>(&dlg, "1068")->text(), QString("QUERIES"));
    QCOMPARE(Control<QLabel>(&dlg, "1064")->text(), QString("0"));
    QCOMPARE(Control<QLabel>(&dlg, "1074")->text(), QString("0"));
  }

  void recordSourcesOfFormsAndReportsAreListedAsHiddenQueries() {
    SKIP_WITHOUT_CORPUS_QT();
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, guitest::CorpusFile("ace/odbcLinkerTestV2007.accdb"));
    QVERIFY(guitest::WaitForRecords(dlg));  // a page still loading keeps the selection
    QTreeWidget* tree = Control<QTreeWidget>(&dlg, "1001");
    QTreeWidgetItem* root = tree->topLevelItem(0);
    QTreeWidgetItem* hidden = guitest::ChildNamed(root, "Hidden queries");
    QVERIFY(hidden);
    QCOMPARE(root->indexOfChild(hidden), root->indexOfChild(dlg.QueriesItem()) + 1);
    QCOMPARE(hidden->childCount(), 56);
    for (int i = 0; i < hidden->childCount(); ++i) QVERIFY(hidden->child(i)->text(0).startsWith("~sq_"));
    for (int i = 0; i < dlg.QueriesItem()->childCount(); ++i)
      QVERIFY(!dlg.QueriesItem()->child(i)->text(0).startsWith("~sq_"));

    hidden->setExpanded(true);
    QTreeWidgetItem* source = hidden->child(0);
    guitest::Select(dlg, source);
    auto* edit = Control<QPlainTextEdit>(&dlg, "1003");
    QVERIFY(edit->isVisible());
    QVERIFY(edit->toPlainText().startsWith("SELECT "));
    QCOMPARE(Control<QLabel>(&dlg, "1068")->text(), source->text(0));
    guitest::SaveScreenshot(&dlg, "main-window-hidden-query");

    guitest::Select(dlg, hidden);
    QCOMPARE(edit->toPlainText(), QString());
    QCOMPARE(Control<QLabel>(&dlg, "1068")->text(), QString("Hidden queries"));
  }

  // A linked table's rows are elsewhere: the tree lists it apart, and selecting it says where.
  void linkedTablesSayWhereTheirRowsAre() {
    SKIP_WITHOUT_CORPUS_QT();
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, guitest::CorpusFile("ace/linkerTestV2007.accdb"));
    QVERIFY(guitest::WaitForRecords(dlg));
    QTreeWidgetItem* root = Control<QTreeWidget>(&dlg, "1001")->topLevelItem(0);
    QTRY_VERIFY(!dlg.IsRecovering());
    QTreeWidgetItem* linked = guitest::ChildNamed(root, "Linked tables");
    QVERIFY(linked);
    QCOMPARE(linked->childCount(), 1);
    QCOMPARE(linked->child(0)->text(0), QString("Table2"));
    QCOMPARE(linked->child(0)->toolTip(0), QString("Table1 in Z:\\jackcess_test\\linkeeTest.accdb"));
    QCOMPARE(guitest::ChildNamed(dlg.TablesItem(), "Table2"), nullptr);

    guitest::Select(dlg, linked->child(0));
    auto* edit = Control<QPlainTextEdit>(&dlg, "1003");
    QVERIFY(edit->isVisible());
    QVERIFY(edit->toPlainText().contains("Z:\\jackcess_test\\linkeeTest.accdb"));
    QCOMPARE(Control<QLabel>(&dlg, "1068")->text(), QString("Table2"));
    guitest::SaveScreenshot(&dlg, "main-window-linked-table");
    QVERIFY(!Control<QPushButton>(&dlg, "1071")->isVisible());  // no pages to turn
  }

  void commandsShowTheBusyMessagesWhileAnAnalysisRuns() {
    SKIP_WITHOUT_CORPUS_QT();
    ui::CTessalyDlg dlg;
    dlg.show();
    QTemporaryDir folder;
    const QString large = guitest::CorpusFileWithEmptyPages(folder.path(), "jet4/testV2003.mdb");
    QVERIFY(!large.isEmpty());
    guitest::BrowseAndView(dlg, large, [&](ui::CProgressDlg& progress) {
      QVERIFY(dlg.IsRecovering());
      for (const char* id : {"1006", "1007", "1008"}) QVERIFY2(!enabled(dlg, id), id);
      dlg.m_bExporting = 1;  // the recover message comes first when both run
      dlg.OnBrowse();
      dlg.OnView();
      dlg.OnExport();
      dlg.close();
      dlg.m_bExporting = 0;
      QTest::keyClick(&progress, Qt::Key_Return);
      QVERIFY(progress.isVisible());
    });
    QCOMPARE(TheDesktop().messages, QStringList(4, kRecoverBusy));
    QVERIFY(TheDesktop().questions.isEmpty());
    QVERIFY(dlg.isVisible());

    dlg.m_bExporting = 1;
    dlg.OnBrowse();
    dlg.m_bExporting = 0;
    QCOMPARE(TheDesktop().messages.last(), QString(kExportBusy));
  }

  void closeAsksAndDeletesTheObjectFiles() {
    const std::string folder = records::OleFilesFolder();
    platform::CreateFolders(folder);
    for (const char* name : {"Ole1.ole", "Ole2.bmp", "notes.txt"})
      QVERIFY(platform::AppendToFile(platform::JoinPath(folder, name), "x"));
    ui::CTessalyDlg dlg;
    dlg.show();
    TheDesktop().answerYes = false;
    dlg.close();
    QCOMPARE(TheDesktop().questions, QStringList(" Are you sure you want to close the application? "));
    QVERIFY(dlg.isVisible());
    QVERIFY(platform::FileExists(platform::JoinPath(folder, "Ole1.ole")));
    TheDesktop().answerYes = true;
    dlg.close();
    QVERIFY(!dlg.isVisible());
    QCOMPARE(platform::ListFolder(folder), std::vector<std::string>{"notes.txt"});
    platform::DeleteFolderTree(folder);
    // Without the folder, closing deletes nothing and says nothing.
    ui::CTessalyDlg second;
    second.show();
    second.close();
    QVERIFY(!second.isVisible());
    QVERIFY(TheDesktop().messages.isEmpty());
  }

  void helpAndAboutOpenTheirPages() {
    ui::CTessalyDlg dlg;
    dlg.OnHelpContents();
    QCOMPARE(TheDesktop().openedUrls.size(), 1);
    QVERIFY(TheDesktop().openedUrls[0].isLocalFile());
    QVERIFY2(QFile::exists(TheDesktop().openedUrls[0].toLocalFile()),
             qPrintable(TheDesktop().openedUrls[0].toString()));

    ui::CAboutDlg about(&dlg);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.windowTitle(), QString("About Us"));
    QCOMPARE(guitest::CutTexts(&about), QStringList());
    auto* link = Control<QLabel>(&about, "1101");
    emit link->linkActivated(ui::kProjectPage);
    QCOMPARE(TheDesktop().openedUrls.last(), QUrl(ui::kProjectPage));
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(about.isVisible());
    guitest::SaveScreenshot(&about, "about-box");
    QTest::mouseClick(Control<QPushButton>(&about, "1"), Qt::LeftButton);
    QVERIFY(!about.isVisible());
  }

  void aSecondCopyIsRefused() {
    platform::SingleInstance first(ui::kInstanceName);
    QVERIFY(!first.alreadyRunning());
    auto* app = static_cast<ui::CTessalyApp*>(qApp);
    QCOMPARE(app->InitInstance(), 1);
    QCOMPARE(TheDesktop().messages, QStringList(ui::kAlreadyRunning));
  }
};

GUI_TEST_CLASS(MainWindowTest);

#include "main_window_test.moc"
