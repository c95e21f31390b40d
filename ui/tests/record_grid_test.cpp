// The record grid over a table of 250 rows written in code by our Jet 4 writer (so this runs
// without the corpus): pages of 100, 100 and 50 rows with Next and Prev, NULL set apart from text,
// the selection locked while a page loads, column nodes keeping the page; and a real corpus
// table shown for the screenshot.
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "ui/tests/gui_harness.h"
#include "ui/tests/gui_tests.h"
#include "ui/tests/test_databases.h"

using guitest::Control;

namespace {
constexpr int kRows = 250;

QString label(ui::CTessalyDlg& dlg, const char* id) {
  return Control<QLabel>(&dlg, id)->text();
}
bool enabled(ui::CTessalyDlg& dlg, const char* id) {
  return Control<QPushButton>(&dlg, id)->isEnabled();
}

QSet<QString> firstCells(const QStringList& rows) {
  QSet<QString> ids;
  for (const QString& row : rows) ids.insert(row.section('\t', 0, 0));
  return ids;
}
}  // namespace

class RecordGridTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { guitest::TheDesktop() = {}; }

  void aTableOf250RowsShowsPagesOf100And100And50() {
    QTemporaryDir folder;
    const QString path = guitest::WriteNumbersDatabase(folder.path(), kRows);
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, path);
    QTreeWidgetItem* table = guitest::ChildNamed(dlg.TablesItem(), "Numbers");
    QVERIFY2(table, qPrintable(guitest::TreeText(Control<QTreeWidget>(&dlg, "1001")).join('|') + " " +
                               guitest::TheDesktop().messages.join('|')));
    QVERIFY(table->font(0).bold());
    QStringList columns;
    for (int i = 0; i < table->childCount(); ++i) columns << table->child(i)->text(0);
    columns.sort();
    // A LONG with column number 0 is the counter; TEXT(50) holds 100 bytes.
    QCOMPARE(columns, QStringList({"Amount [DOUBLE]", "ID [COUNTER]", "Name [TEXT(100)]"}));

    guitest::Select(dlg, table);
    QVERIFY(guitest::WaitForRecords(dlg));
    auto* list = Control<QTableWidget>(&dlg, "1002");
    QVERIFY(list->isVisible());
    QCOMPARE(list->columnCount(), 3);
    QCOMPARE(list->horizontalHeaderItem(1)->text(), QString("Name"));
    QCOMPARE(list->horizontalHeaderItem(0)->textAlignment() & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
    QCOMPARE(list->horizontalHeaderItem(1)->textAlignment() & Qt::AlignHorizontal_Mask, int(Qt::AlignLeft));
    const QStringList page1 = guitest::GridRows(dlg);
    QCOMPARE(page1.size(), 100);
    QVERIFY2(page1[0].startsWith("1\tRow 1\t1.5"), qPrintable(page1[0]));
    // NULL reads "NULL" in grey italics, unlike any text.
    QVERIFY2(page1[9].startsWith("10\tNULL\t15"), qPrintable(page1[9]));
    QVERIFY(list->item(9, 1)->font().italic());
    QVERIFY(!list->item(8, 1)->font().italic());
    QCOMPARE(label(dlg, "1068"), QString("Numbers"));
    QCOMPARE(label(dlg, "1064"), QString("100"));
    QCOMPARE(label(dlg, "1074"), QString("1"));
    QVERIFY(!enabled(dlg, "1070"));
    QVERIFY(enabled(dlg, "1071"));

    QTest::mouseClick(Control<QPushButton>(&dlg, "1071"), Qt::LeftButton);
    // The loader's page reaches the window through its event loop, so it is loading now; the
    // selection cannot move meanwhile.
    QVERIFY(dlg.IsLoadingRecords());
    QVERIFY(!enabled(dlg, "1070") && !enabled(dlg, "1071"));
    guitest::Select(dlg, dlg.QueriesItem());
    QCOMPARE(Control<QTreeWidget>(&dlg, "1001")->currentItem(), table);
    QVERIFY(list->isVisible());
    QVERIFY(guitest::WaitForRecords(dlg));
    const QStringList page2 = guitest::GridRows(dlg);
    QCOMPARE(page2.size(), 100);
    QCOMPARE(page2[0].section('\t', 0, 0), QString("101"));
    QCOMPARE(label(dlg, "1074"), QString("2"));
    QVERIFY(enabled(dlg, "1070"));
    QVERIFY(enabled(dlg, "1071"));

    QTest::mouseClick(Control<QPushButton>(&dlg, "1071"), Qt::LeftButton);
    QVERIFY(guitest::WaitForRecords(dlg));
    const QStringList page3 = guitest::GridRows(dlg);
    QCOMPARE(page3.size(), 50);
    QCOMPARE(label(dlg, "1064"), QString("50"));
    QCOMPARE(label(dlg, "1074"), QString("3"));
    QVERIFY(!enabled(dlg, "1071"));
    QVERIFY(enabled(dlg, "1070"));
    QSet<QString> all = firstCells(page1) + firstCells(page2) + firstCells(page3);
    QCOMPARE(all.size(), kRows);

    QTest::mouseClick(Control<QPushButton>(&dlg, "1070"), Qt::LeftButton);
    QVERIFY(guitest::WaitForRecords(dlg));
    QCOMPARE(guitest::GridRows(dlg), page2);
    QCOMPARE(label(dlg, "1074"), QString("2"));
    QTest::mouseClick(Control<QPushButton>(&dlg, "1070"), Qt::LeftButton);
    QVERIFY(guitest::WaitForRecords(dlg));
    QCOMPARE(guitest::GridRows(dlg), page1);
    QVERIFY(!enabled(dlg, "1070"));

    // A column node keeps the shown page; the table node again starts from page 1.
    QTest::mouseClick(Control<QPushButton>(&dlg, "1071"), Qt::LeftButton);
    QVERIFY(guitest::WaitForRecords(dlg));
    guitest::Select(dlg, table->child(0));
    QCOMPARE(label(dlg, "1074"), QString("2"));
    QCOMPARE(guitest::GridRows(dlg), page2);
    guitest::Select(dlg, table);
    QVERIFY(guitest::WaitForRecords(dlg));
    QCOMPARE(label(dlg, "1074"), QString("1"));
    QCOMPARE(guitest::GridRows(dlg), page1);

    // Browse clears the grid and the tree, and Export waits for View.
    guitest::TheDesktop().nextFile = path;
    QTest::mouseClick(Control<QPushButton>(&dlg, "1006"), Qt::LeftButton);
    QVERIFY(list->isHidden());
    QCOMPARE(dlg.TablesItem()->childCount(), 0);
    QVERIFY(!enabled(dlg, "1008"));
  }

  void aCorpusTableShownForTheScreenshot() {
    SKIP_WITHOUT_CORPUS_QT();
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, guitest::CorpusFile("jet4/compIndexTestV2003.mdb"));
    QTreeWidgetItem* table = guitest::ChildNamed(dlg.TablesItem(), "Table1");
    QVERIFY(table);
    guitest::Select(dlg, table);
    QVERIFY(guitest::WaitForRecords(dlg));
    QCOMPARE(guitest::GridRows(dlg).size(), 100);
    QCOMPARE(guitest::CutTexts(&dlg).join('|'), QString());
    guitest::SaveScreenshot(&dlg, "main-window");
  }
};

GUI_TEST_CLASS(RecordGridTest);

#include "record_grid_test.moc"
