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

int DeleteRowsAfter(const QString& path, const std::string& column, int keep) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) return 0;
  QByteArray name;  // the column's name as a definition page holds it, UTF-16LE
  for (char c : column) name.append(c).append('\0');
  const qint64 pages = file.size() / kPageSize;
  qint64 definition = -1;
  for (qint64 page = 1; page < pages && definition < 0; ++page) {
    file.seek(page * kPageSize);
    const QByteArray bytes = file.read(kPageSize);
    if (bytes.size() == kPageSize && bytes[0] == 2 && bytes.contains(name)) definition = page;
  }
  if (definition < 0) return 0;
  int seen = 0, marked = 0;
  for (qint64 page = 1; page < pages; ++page) {
    file.seek(page * kPageSize);
    QByteArray bytes = file.read(kPageSize);
    const auto u16 = [&](int at) {
      return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8);
    };
    const uint32_t owner = u16(4) | static_cast<uint32_t>(u16(6)) << 16;
    if (bytes.size() != kPageSize || bytes[0] != 1 || owner != definition) continue;
    for (int slot = 0, rows = u16(12); slot < rows && 14 + 2 * slot + 1 < kPageSize; ++slot) {
      const int at = 14 + 2 * slot;
      if ((u16(at) & 0xC000) != 0 || seen++ < keep) continue;
      bytes[at + 1] = static_cast<char>(static_cast<uint8_t>(bytes[at + 1]) | 0xC0);
      ++marked;
    }
    file.seek(page * kPageSize);
    file.write(bytes);
  }
  return marked;
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
