// Catalog reading: table names and types straight from the rows of the catalog's data pages
// (the pages owned by page 2), deleted rows included, then the filter that keeps the user
// tables and the two catalog tables.
//
// Catalog row (offsets from the row start; end = the row's last byte):
//    2       u32  object id (the tdefPage of a table)
//   10       u16  object type; the low 7 bits are the type
//   28       u32  flags; 0x80000000 marks a system object (the catalog's own tables and the
//                 hidden tables that hold complex-column data, f_<GUID>_<column>)
//   32       -    object name, UTF-16LE
//   end - 8  u16  end offset of the name, so its length is this value - 32
// Data page: u16 row count at 12, u16 row offsets from 14 (low 13 bits = row start); row r ends
// one byte before row r - 1 starts, row 0 on the page's last byte.
#include <cstdio>
#include <unordered_map>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "analysis/stored_names.h"
#include "format/row_entries.h"
#include "support/byte_view.h"

namespace analysis {

namespace {
constexpr int32_t kCatalogPage = 2;
constexpr int64_t kNameOffset = 32;
constexpr int64_t kMaxNameLength = 512;
constexpr int32_t kUserTableType = 1;
constexpr int64_t kFlagsOffset = 28;
constexpr uint32_t kSystemObjectFlag = 0x80000000u;
constexpr const char kRecoveredPrefix[] = "Recovered Table ";

bool startsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

struct CatalogEntry {
  int32_t id = -1;
  int32_t type = 0;
  uint32_t flags = 0;
  std::string name;
};

// One catalog row, or an entry with id -1 when the row cannot hold one.
CatalogEntry readCatalogRow(support::ByteView page, int rowIndex) {
  CatalogEntry entry;
  const int64_t pageSize = static_cast<int64_t>(page.size());
  format::RowEntry row;
  if (!format::ReadRowEntry(page, rowIndex, row)) return entry;
  const int64_t start = row.start, end = row.end;
  if (start > pageSize || end < 0 || end > pageSize || end - 9 <= start + 13) return entry;
  const int32_t id = page.i32(start + 2);
  if (id < 0) return entry;
  const int64_t length = static_cast<int64_t>(page.u16(end - 8)) - kNameOffset;
  // The name must lie inside its own row.
  if (length < 0 || length > kMaxNameLength || start + kNameOffset + length > end + 1) return entry;
  entry.name = CleanStoredName(DecodeStoredName(page.slice(start + kNameOffset, length)));
  if (entry.name.empty()) return entry;
  entry.id = id;
  entry.type = page.u16(start + 10) & 0x7F;
  entry.flags = page.u32(start + kFlagsOffset);
  return entry;
}

// The first table of each definition page: the one a catalog row names.
std::unordered_map<uint32_t, size_t> tablesByDefinitionPage() {
  std::unordered_map<uint32_t, size_t> tables;
  for (size_t i = 0; i < g_tables.size(); ++i) tables.emplace(g_tables[i].tdefPage, i);
  return tables;
}

void nameTablesFromCatalogPage(support::ByteView page, int rowCount,
                               const std::unordered_map<uint32_t, size_t>& tables) {
  // Only rows whose offset entry lies on the page can be read.
  const int maxRows = static_cast<int>((static_cast<int64_t>(page.size()) - format::kRowTableOffset) / 2);
  for (int row = 0; row < rowCount && row < maxRows; ++row) {
    CatalogEntry entry = readCatalogRow(page, row);
    if (entry.id < 0) continue;
    g_catalogObjects[static_cast<uint32_t>(entry.id)] = CatalogObject{entry.name, entry.type, entry.flags};
    const auto found = tables.find(static_cast<uint32_t>(entry.id));
    if (found == tables.end()) continue;
    Table& table = g_tables[found->second];
    table.type = entry.type;
    table.name = entry.name;
    table.catalogFlags = entry.flags;
  }
}

// Keeps user tables and the two catalog tables (renamed "ASys..."); numbers the tables the
// catalog does not name from the end of the list. A user table the catalog marks as a system
// object is the hidden data table of a complex column: never listed on its own (its values are
// shown in the owner's column). Returns the number of unnamed tables.
int32_t filterTables() {
  int32_t unnamed = 0;
  std::vector<bool> keep(g_tables.size(), true);
  for (size_t position = g_tables.size(); position-- > 0;) {
    Table& table = g_tables[position];
    if (startsWith(table.name, kRecoveredPrefix)) {
      table.type = kUserTableType;
      char name[40];
      std::snprintf(name, sizeof name, "Recovered Table %02d", ++unnamed);
      table.name = name;
    }
    const bool hidden = (table.catalogFlags & kSystemObjectFlag) != 0;
    if (table.type == kUserTableType && !hidden && !startsWith(table.name, "MSys")) continue;
    if (table.name == "MSysObjects" || table.name == "MSysQueries")
      table.name[0] = 'A';
    else
      keep[position] = false;
  }
  KeepTables(keep);
  return unnamed;
}
}  // namespace

int MdbRecovery::ReadCatalogNames() {
  std::vector<uint8_t> page(kPageSize);
  const std::unordered_map<uint32_t, size_t> tables = tablesByDefinitionPage();
  for (uint32_t number : g_pageMap.dataPagesOwnedBy(kCatalogPage)) {
    const PageMetaData* meta = g_pageMap.findByNumber(number);
    if (meta == nullptr || ReadPageByNumber(page.data(), number) <= 0) continue;
    nameTablesFromCatalogPage(support::ByteView(page), meta->rowCount, tables);
  }
  const int32_t unnamed = filterTables();
  channel->unnamedTables = unnamed;
  char text[48];
  std::snprintf(text, sizeof text, "Unnamed tables found = %d", unnamed);
  channel->publishStatus(text);
  return 1;
}

}  // namespace analysis
