// Test databases.
#include "ui/tests/test_databases.h"

#include <QFile>

#include "engine/engine.h"
#include "jet4/jet4_engine.h"
#include "support/value_builders.h"

namespace guitest {

namespace {
constexpr qint64 kPageSize = 4096;
constexpr char kUnreadable = static_cast<char>(0xEE);
}  // namespace

QString WriteDatabase(const QString& folder, const QString& fileName, const std::vector<TableRows>& tables) {
  const std::string path = (folder + "/" + fileName).toStdString();
  auto db = jet4::MakeJet4Database();
  db->Create(path, engine::kEngineLocale, 0);
  for (const TableRows& table : tables) {
    db->Execute(table.create);
    auto rs = db->NewRecordset();
    rs->Open("select * from [" + table.name + "] where 1=-1");
    for (const auto& row : table.rows) {
      rs->AddNew();
      for (const auto& [column, value] : row) rs->SetFieldValue(column, support::TextValue(value));
      rs->Update();
    }
    rs->Close();
  }
  db->Close();
  return QString::fromStdString(path);
}

QString WriteNumbersDatabase(const QString& folder, int rows) {
  TableRows numbers{"CREATE TABLE [Numbers] ([ID] LONG, [Name] TEXT(50), [Amount] DOUBLE)", "Numbers", {}};
  for (int n = 1; n <= rows; ++n) {
    std::map<std::string, std::string> row{{"ID", std::to_string(n)}, {"Amount", std::to_string(n * 1.5)}};
    if (n % 10 != 0) row["Name"] = "Row " + std::to_string(n);
    numbers.rows.push_back(std::move(row));
  }
  return WriteDatabase(folder, QString("Rows%1.mdb").arg(rows), {numbers});
}

int DestroyCatalog(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) return 0;
  int destroyed = 0;
  for (qint64 offset = kPageSize; offset + kPageSize <= file.size(); offset += kPageSize) {
    file.seek(offset);
    const QByteArray head = file.read(8);
    const bool catalogData =
        head.size() == 8 && head[0] == 1 && head[4] == 2 && head[5] == 0 && head[6] == 0 && head[7] == 0;
    if (!catalogData) continue;
    file.seek(offset);
    file.write(QByteArray(kPageSize, kUnreadable));
    ++destroyed;
  }
  return destroyed;
}

}  // namespace guitest
