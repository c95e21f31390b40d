// The record list's switch for deleted and free-space rows, over a table written by our Jet 4
// writer whose bytes are then edited as a database engine leaves them: two rows deleted in
// place (entry flags 0xC000), and the table's last data page dropped from its used-pages map.
#include <QBrush>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "engine/engine.h"
#include "jet4/jet4_engine.h"
#include "support/value_builders.h"
#include "ui/tests/gui_harness.h"
#include "ui/tests/gui_tests.h"

using guitest::Control;

namespace {
constexpr int kRows = 30;
constexpr int kPage = 4096;

uint32_t le(const QByteArray& bytes, qsizetype at, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// Rows 1 to 30 with long names, so that they need two data pages.
QString writeTable(const QString& folder) {
  const std::string path = (folder + "/Deleted.mdb").toStdString();
  auto db = jet4::MakeJet4Database();
  db->Create(path, engine::kEngineLocale, 0);
  db->Execute("CREATE TABLE [Orders] ([ID] LONG, [Customer] TEXT(255))");
  auto rs = db->NewRecordset();
  rs->Open("select * from [Orders] where 1=-1");
  for (int n = 1; n <= kRows; ++n) {
    rs->AddNew();
    rs->SetFieldValue("ID", support::TextValue(std::to_string(n)));
    rs->SetFieldValue("Customer", support::TextValue("Customer " + std::to_string(n) + " " + std::string(200, 'x')));
    rs->Update();
  }
  rs->Close();
  db->Close();
  return QString::fromStdString(path);
}

struct Edited {
  int deleted = 0;
  int freed = 0;
};

// Deletes rows 1 and 2 of the table's first data page and drops its last data page from the
// table's inline used-pages map. Returns what it did, or zeros when the file looks different.
Edited deleteRowsAndFreeAPage(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) return {};
  QByteArray bytes = file.readAll();
  const qsizetype pages = bytes.size() / kPage;
  // The table's pages: data pages whose owner is a definition page other than the catalog's.
  uint32_t tdef = 0;
  QList<qsizetype> dataPages;
  for (qsizetype p = 3; p < pages; ++p) {
    const qsizetype at = p * kPage;
    if (bytes[at] != 1) continue;
    const uint32_t owner = le(bytes, at + 4, 4);
    if (owner <= 2 || owner >= pages || bytes[owner * kPage] != 2) continue;
    if (tdef != 0 && owner != tdef) continue;
    tdef = owner;
    dataPages.append(p);
  }
  if (dataPages.size() < 2) return {};
  Edited edited;
  const qsizetype first = dataPages.front() * kPage;
  for (int row : {1, 2}) {
    const qsizetype entry = first + 14 + 2 * row;
    bytes[entry + 1] = static_cast<char>(static_cast<uint8_t>(bytes[entry + 1]) | 0xC0);
    ++edited.deleted;
  }
  const qsizetype definition = tdef * kPage;
  const uint8_t mapRow = static_cast<uint8_t>(bytes[definition + 55]);
  const qsizetype mapPage = le(bytes, definition + 56, 3) * kPage;
  const qsizetype mapStart = mapPage + (le(bytes, mapPage + 14 + 2 * mapRow, 2) & 0x1FFF);
  if (bytes[mapStart] != 0) return {};
  const qsizetype last = dataPages.back();
  const qsizetype bit = last - le(bytes, mapStart + 1, 4);
  bytes[mapStart + 5 + bit / 8] =
      static_cast<char>(static_cast<uint8_t>(bytes[mapStart + 5 + bit / 8]) & ~(1 << (bit % 8)));
  edited.freed = static_cast<int>(le(bytes, last * kPage + 12, 2));
  file.seek(0);
  file.write(bytes);
  return edited;
}

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

  void theSwitchAddsDeletedAndFreeSpaceRowsMarkedAndCounted() {
    QTemporaryDir folder;
    const QString path = writeTable(folder.path());
    const Edited edited = deleteRowsAndFreeAPage(path);
    QCOMPARE(edited.deleted, 2);
    QVERIFY(edited.freed > 0);
    const int live = kRows - edited.deleted - edited.freed;

    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, path);
    auto* toggle = Control<QCheckBox>(&dlg, "deletedRows");
    QVERIFY(toggle);
    QVERIFY(!toggle->isChecked());
    QTreeWidgetItem* table = guitest::ChildNamed(dlg.TablesItem(), "Orders");
    QVERIFY(table);
    guitest::Select(dlg, table);
    QVERIFY(guitest::WaitForRecords(dlg));
    auto* list = Control<QTableWidget>(&dlg, "1002");
    QCOMPARE(list->rowCount(), live);
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QString("ID"));
    QCOMPARE(column(guitest::GridRows(dlg), 0).mid(0, 3), QStringList({"1", "4", "5"}));

    toggle->setChecked(true);
    QVERIFY(guitest::WaitForRecords(dlg));
    const QStringList rows = guitest::GridRows(dlg);
    QCOMPARE(rows.size(), kRows);
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QString("State"));
    QStringList states = column(rows, 0);
    QCOMPARE(states.count("live"), live);
    QCOMPARE(states.count("deleted"), edited.deleted);
    QCOMPARE(states.count("free-space"), edited.freed);
    QCOMPARE(states[live], QString("deleted"));
    QCOMPARE(column(rows, 1).mid(live, 2), QStringList({"2", "3"}));
    QCOMPARE(states.last(), QString("free-space"));
    // Each state has a colour of its own; live rows keep the list's.
    const QBrush liveBrush = list->item(0, 1)->background();
    const QBrush deletedBrush = list->item(live, 1)->background();
    const QBrush freeBrush = list->item(kRows - 1, 1)->background();
    QVERIFY(liveBrush.style() == Qt::NoBrush);
    QVERIFY(deletedBrush.style() != Qt::NoBrush);
    QVERIFY(freeBrush.color() != deletedBrush.color());
    QCOMPARE(Control<QLabel>(&dlg, "rowStates")->text(),
             QString("%1 live, 2 deleted, %2 free-space, 0 unreadable").arg(live).arg(edited.freed));
    QCOMPARE(guitest::CutTexts(&dlg), QStringList());
    list->scrollToItem(list->item(live - 6, 0), QAbstractItemView::PositionAtTop);
    guitest::SaveScreenshot(&dlg, "record-list-deleted-rows");

    toggle->setChecked(false);
    QVERIFY(guitest::WaitForRecords(dlg));
    QCOMPARE(list->rowCount(), live);
    QCOMPARE(Control<QLabel>(&dlg, "rowStates")->text(), QString());
  }
};

GUI_TEST_CLASS(DeletedRowsTest);

#include "deleted_rows_test.moc"
