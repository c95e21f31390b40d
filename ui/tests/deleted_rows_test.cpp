// The record list's switch for deleted and free-space rows, over a file whose tables really hold
// deleted rows: the switch adds a leading State column, the recovered rows follow the live
// records in colours of their own, and a line gives the table's row counts.
#include <QBrush>
#include <QCheckBox>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "ui/tests/gui_harness.h"
#include "ui/tests/gui_tests.h"

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
    QCOMPARE(Control<QLabel>(&dlg, "recordRange")->text(), QString("Records 1\u2013%1 of %1").arg(live));
    if (!screenshot.isEmpty()) guitest::SaveScreenshot(&dlg, screenshot);
    const QStringList cut = guitest::CutTexts(&dlg);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(" | ")));

    toggle->setChecked(false);
    QVERIFY(guitest::WaitForRecords(dlg));
    QCOMPARE(guitest::GridRows(dlg), liveRows);
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QString("row"));
    QCOMPARE(Control<QLabel>(&dlg, "rowStates")->text(), QString());
  }
};

GUI_TEST_CLASS(DeletedRowsTest);

#include "deleted_rows_test.moc"
