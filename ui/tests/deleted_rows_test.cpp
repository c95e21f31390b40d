// The record list's switch for deleted and free-space rows, over a file whose tables really hold
// deleted rows: the switch adds a leading State column, the recovered rows follow the live
// records in colours of their own and are paged like them, and a line gives the table's row
// counts.
#include <QBrush>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "ui/tests/gui_harness.h"
#include "ui/tests/gui_tests.h"
#include "ui/tests/test_databases.h"

using guitest::Control;

namespace {
constexpr const char* kFile = "jet4/testIndexPropertiesV2003.mdb";

QStringList column(const QStringList& rows, int index) {
  QStringList cells;
  for (const QString& row : rows) cells << row.section('\t', index, index);
  return cells;
}
}  // namespace

class DeletedRowsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { guitest::TheDesktop() = {}; }

  void theSwitchAddsTheRecoveredRowsMarkedAndCounted_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("live");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QString>("screenshot");
    QTest::newRow("two deleted") << "TableIgnoreNulls2" << 11 << 2 << QString();
    QTest::newRow("fifteen deleted") << "TableUnique1_temp" << 10 << 15 << "record-list-deleted-rows";
  }

  void theSwitchAddsTheRecoveredRowsMarkedAndCounted() {
    SKIP_WITHOUT_CORPUS_QT();
    QFETCH(QString, table);
    QFETCH(int, live);
    QFETCH(int, deleted);
    QFETCH(QString, screenshot);

    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, guitest::CorpusFile(kFile));
    auto* toggle = Control<QCheckBox>(&dlg, "deletedRows");
    QVERIFY(toggle);
    QVERIFY(!toggle->isChecked());
    QTreeWidgetItem* item = guitest::ChildNamed(dlg.TablesItem(), table);
    QVERIFY(item);
    guitest::Select(dlg, item);
    QVERIFY(guitest::WaitForRecords(dlg));
    auto* list = Control<QTableWidget>(&dlg, "1002");
    QCOMPARE(list->rowCount(), live);
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QString("row"));
    const QStringList liveRows = guitest::GridRows(dlg);

    toggle->setChecked(true);
    QVERIFY(guitest::WaitForRecords(dlg));
    const QStringList rows = guitest::GridRows(dlg);
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QString("State"));
    QCOMPARE(list->horizontalHeaderItem(1)->text(), QString("row"));
    const QStringList states = column(rows, 0);
    QCOMPARE(states.mid(0, live), QStringList(QList<QString>(live, "live")));
    QCOMPARE(states.count("deleted"), deleted);
    const int freeSpace = static_cast<int>(states.count("free-space"));
    QCOMPARE(rows.size(), live + deleted + freeSpace);
    // The live records come first, as they were shown without the switch.
    for (int r = 0; r < live; ++r) QCOMPARE(rows[r].section('\t', 1), liveRows[r]);
    // Deleted rows carry their decoded values, like live ones.
    QVERIFY(column(rows, 1).mid(live, deleted).filter("row").size() == deleted);
    // Each state has a colour of its own; live rows keep the list's.
    QVERIFY(list->item(0, 1)->background().style() == Qt::NoBrush);
    const QBrush deletedBrush = list->item(static_cast<int>(states.indexOf("deleted")), 1)->background();
    QVERIFY(deletedBrush.style() != Qt::NoBrush);
    if (freeSpace > 0) {
      const QBrush freeBrush = list->item(static_cast<int>(states.indexOf("free-space")), 1)->background();
      QVERIFY(freeBrush.style() != Qt::NoBrush);
      QVERIFY(freeBrush.color() != deletedBrush.color());
    }
    const QString counts = Control<QLabel>(&dlg, "rowStates")->text();
    QVERIFY2(counts.startsWith(QString("%1 live, %2 deleted, %3 free-space, ").arg(live).arg(deleted).arg(freeSpace)),
             qPrintable(counts));
    QCOMPARE(Control<QLabel>(&dlg, "recordRange")->text(),
             QString("Records 1\u2013%1 of %1").arg(live + deleted + freeSpace));
    if (!screenshot.isEmpty()) guitest::SaveScreenshot(&dlg, screenshot);
    const QStringList cut = guitest::CutTexts(&dlg);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(" | ")));

    toggle->setChecked(false);
    QVERIFY(guitest::WaitForRecords(dlg));
    QCOMPARE(guitest::GridRows(dlg), liveRows);
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QString("row"));
    QCOMPARE(Control<QLabel>(&dlg, "rowStates")->text(), QString());
    QCOMPARE(Control<QLabel>(&dlg, "recordRange")->text(), QString("Records 1\u2013%1 of %1").arg(live));
  }

  // 250 rows, the last 130 deleted: with the switch the table's rows are the 120 live records
  // then the 130 deleted ones, 100 to a page, and every way of paging reaches all of them.
  void recoveredRowsArePagedLikeLiveOnes() {
    QTemporaryDir folder;
    const QString path = guitest::WriteNumbersDatabase(folder.path(), 250);
    QCOMPARE(guitest::DeleteRowsAfter(path, "Amount", 120), 130);
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, path);
    QTreeWidgetItem* item = guitest::ChildNamed(dlg.TablesItem(), "Numbers");
    QVERIFY(item);
    guitest::Select(dlg, item);
    QVERIFY(guitest::WaitForRecords(dlg));
    auto* range = Control<QLabel>(&dlg, "recordRange");
    auto* goTo = Control<QSpinBox>(&dlg, "goToPage");
    QCOMPARE(range->text(), QString("Records 1\u2013100 of 120"));
    QCOMPARE(dlg.PageCount(), 2);

    Control<QCheckBox>(&dlg, "deletedRows")->setChecked(true);
    QVERIFY(guitest::WaitForRecords(dlg));
    QCOMPARE(dlg.RecordCount(), 250);
    QCOMPARE(dlg.PageCount(), 3);
    struct Step {
      const char* button;  // pressed before the checks; null: go to page `page` by number
      int page;
      QString range;
      int firstId, liveRows, rows;
      bool before, after;
    };
    const Step steps[] = {
        {nullptr, 1, "Records 1\u2013100 of 250", 1, 100, 100, false, true},
        {"1071", 2, "Records 101\u2013200 of 250", 101, 20, 100, true, true},
        {"1071", 3, "Records 201\u2013250 of 250", 201, 0, 50, true, false},
        {"1070", 2, "Records 101\u2013200 of 250", 101, 20, 100, true, true},
        {"first", 1, "Records 1\u2013100 of 250", 1, 100, 100, false, true},
        {"last", 3, "Records 201\u2013250 of 250", 201, 0, 50, true, false},
        {nullptr, 2, "Records 101\u2013200 of 250", 101, 20, 100, true, true},
    };
    for (const Step& step : steps) {
      const QString where = QString("%1 -> page %2").arg(step.button ? step.button : "go").arg(step.page);
      if (step.button) {
        QTest::mouseClick(Control<QPushButton>(&dlg, step.button), Qt::LeftButton);
      } else if (step.page != 1) {
        goTo->setValue(step.page);
        QTest::mouseClick(Control<QPushButton>(&dlg, "go"), Qt::LeftButton);
      }
      QVERIFY2(guitest::WaitForRecords(dlg), qPrintable(where));
      const QStringList rows = guitest::GridRows(dlg);
      QCOMPARE(rows.size(), step.rows);
      QCOMPARE(range->text(), step.range);
      QCOMPARE(goTo->value(), step.page);
      QCOMPARE(goTo->suffix(), QString(" of 3"));
      // The rows run on by ID across the pages, live ones first.
      for (int r = 0; r < rows.size(); ++r) {
        QCOMPARE(rows[r].section('\t', 1, 1), QString::number(step.firstId + r));
        QCOMPARE(rows[r].section('\t', 0, 0), QString(r < step.liveRows ? "live" : "deleted"));
      }
      QVERIFY2(Control<QPushButton>(&dlg, "first")->isEnabled() == step.before, qPrintable(where));
      QVERIFY2(Control<QPushButton>(&dlg, "1071")->isEnabled() == step.after, qPrintable(where));
      QVERIFY2(Control<QPushButton>(&dlg, "last")->isEnabled() == step.after, qPrintable(where));
      if (step.page == 2 && !step.button) {  // where the live records end and the deleted rows go on
        auto* list = Control<QTableWidget>(&dlg, "1002");
        list->scrollToItem(list->item(14, 0), QAbstractItemView::PositionAtTop);
        QTest::qWait(0);
        guitest::SaveScreenshot(&dlg, "record-list-deleted-rows-page-2");
      }
    }
    QCOMPARE(Control<QLabel>(&dlg, "rowStates")->text().left(30), QString("120 live, 130 deleted, 0 free-"));

    // Off again: the live records alone, paged as before.
    Control<QCheckBox>(&dlg, "deletedRows")->setChecked(false);
    QVERIFY(guitest::WaitForRecords(dlg));
    QCOMPARE(dlg.RecordCount(), 120);
    QCOMPARE(dlg.PageCount(), 2);
    QCOMPARE(range->text(), QString("Records 1\u2013100 of 120"));
    QTest::mouseClick(Control<QPushButton>(&dlg, "last"), Qt::LeftButton);
    QVERIFY(guitest::WaitForRecords(dlg));
    QCOMPARE(range->text(), QString("Records 101\u2013120 of 120"));
    QCOMPARE(guitest::GridRows(dlg).size(), 20);
    QVERIFY(!Control<QPushButton>(&dlg, "1071")->isEnabled());
  }
};

GUI_TEST_CLASS(DeletedRowsTest);

#include "deleted_rows_test.moc"
