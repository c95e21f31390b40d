// Reading the linked tables from the catalog table's rows.
#include "records/linked_tables.h"

#include "records/table_scan.h"
#include "records/value_decode.h"
#include "support/text.h"

namespace records {

namespace {
constexpr int kLinkedType = 6;
constexpr int kOdbcLinkedType = 4;
constexpr const char* kCatalogTableName = "ASysObjects";  // MSysObjects as the analysis keeps it

const analysis::Table* catalogTable() {
  for (const auto& table : analysis::g_tables)
    if (table.name == kCatalogTableName) return &table;
  return nullptr;
}

// A TEXT or MEMO value of the row as UTF-8; empty when null or unreadable.
std::string textOf(analysis::MdbRecovery& recovery, const ScannedRow& row, const analysis::Column* column) {
  support::ByteView bytes;
  if (column == nullptr || !row.value(*column, bytes) || bytes.empty()) return {};
  support::Value value;
  const int64_t position = bytes.data() - row.page.data();
  DecodeValue(recovery, row.page, *column, position, static_cast<int64_t>(bytes.size()), value);
  return value.kind == support::ValueKind::kText ? value.text : std::string();
}
}  // namespace

std::vector<LinkedTable> ReadLinkedTables(analysis::MdbRecovery& recovery) {
  std::vector<LinkedTable> linked;
  const analysis::Table* catalog = catalogTable();
  if (catalog == nullptr) return linked;
  const analysis::Column* type = FindColumn(*catalog, "Type");
  const analysis::Column* name = FindColumn(*catalog, "Name");
  if (type == nullptr || name == nullptr) return linked;
  const analysis::Column* foreignName = FindColumn(*catalog, "ForeignName");
  const analysis::Column* database = FindColumn(*catalog, "Database");
  const analysis::Column* connect = FindColumn(*catalog, "Connect");
  ScanTableRows(recovery, *catalog, [&](const ScannedRow& row) {
    support::ByteView typeBytes;
    if (!row.value(*type, typeBytes)) return true;
    const int objectType = typeBytes.u16(0) & 0x7F;
    if (objectType != kLinkedType && objectType != kOdbcLinkedType) return true;
    LinkedTable table;
    table.name = textOf(recovery, row, name);
    if (table.name.empty()) return true;
    table.sourceTable = textOf(recovery, row, foreignName);
    table.database = textOf(recovery, row, database);
    table.connect = MaskConnectPassword(textOf(recovery, row, connect));
    table.odbc = objectType == kOdbcLinkedType;
    linked.push_back(std::move(table));
    return true;
  });
  return linked;
}

std::string LinkedTableSource(const LinkedTable& table) {
  std::string source = table.sourceTable.empty() ? table.name : table.sourceTable;
  if (table.odbc) return source + " over ODBC (" + table.connect + ")";
  if (!table.database.empty()) source += " in " + table.database;
  if (!table.connect.empty()) source += " (" + table.connect + ")";
  return source;
}

std::string MaskConnectPassword(const std::string& connect) {
  const std::string folded = support::FoldAsciiCase(connect);
  std::string masked;
  size_t from = 0;
  for (size_t at = folded.find("PWD="); at != std::string::npos; at = folded.find("PWD=", from)) {
    // Only a key of its own: at the start or after a separator.
    if (at > 0 && connect[at - 1] != ';' && connect[at - 1] != ' ') {
      masked += connect.substr(from, at + 4 - from);
      from = at + 4;
      continue;
    }
    const size_t valueStart = at + 4;
    size_t valueEnd = connect.find(';', valueStart);
    // A braced value may hold ';': it ends at its closing brace.
    if (valueStart < connect.size() && connect[valueStart] == '{') {
      const size_t brace = connect.find('}', valueStart);
      valueEnd = brace == std::string::npos ? std::string::npos : connect.find(';', brace);
    }
    masked += connect.substr(from, valueStart - from) + "***";
    from = valueEnd == std::string::npos ? connect.size() : valueEnd;
  }
  return masked + connect.substr(from);
}

}  // namespace records
