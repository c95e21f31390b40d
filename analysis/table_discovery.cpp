// Table discovery: one table per table definition page, whether or not the catalog still
// names it. Continuation definition pages are joined to their head, the catalog names the
// tables, and each table's schema is read and handed to the progress window in turn.
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "analysis/free_page_map.h"
#include "analysis/mdb_recovery.h"
#include "analysis/orphan_tables.h"
#include "support/byte_view.h"
#include "support/execution_log.h"

namespace analysis {

namespace {
constexpr int64_t kPageHeaderSize = 8;  // continuation bodies start after type, free space and next page
constexpr const char kSystemPrefix[] = "ASys";
constexpr uint64_t kNoDefinitionPage = static_cast<uint64_t>(-1);

bool startsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

// The next definition page of a chain, or 0 when the page is not a table definition or ends it.
uint32_t nextDefinitionPage(uint32_t pageNumber) {
  const PageMetaData* page = g_pageMap.findByNumber(pageNumber);
  if (page == nullptr || page->pageType != 2) return 0;
  return static_cast<uint32_t>(page->owner);
}

void appendTablePerDefinitionPage() {
  for (const PageMetaData& page : g_pageMap) {
    if (page.pageType != 2) continue;
    Table table;
    table.tdefPage = page.pageNumber;
    table.tdefFileOffset = page.fileOffset;
    char name[64];
    std::snprintf(name, sizeof name, "Recovered Table %04d-%04d", static_cast<int>(g_tables.size() + 1),
                  static_cast<int>(page.pageNumber));
    table.name = name;
    g_tables.push_back(std::move(table));
  }
}

// Follows the chain of next pointers from table head's definition page, appending every
// listed definition page it reaches to the head's continuations and flagging it. The walk
// ends at a page that is no listed definition or at one already in the chain.
void joinContinuations(size_t head, const std::unordered_map<uint32_t, size_t>& tableByPage,
                       std::vector<bool>& isHead) {
  Table& table = g_tables[head];
  std::unordered_set<uint32_t> chain{table.tdefPage};
  for (uint32_t next = nextDefinitionPage(table.tdefPage); next != 0; next = nextDefinitionPage(next)) {
    if (!chain.insert(next).second) return;
    auto found = tableByPage.find(next);
    if (found == tableByPage.end()) return;
    Table continuation;
    continuation.tdefPage = next;
    table.continuations.push_back(std::move(continuation));
    isHead[found->second] = false;
  }
}

// The head page followed by the bodies of its continuation pages, without their headers.
std::vector<uint8_t> assembleDefinition(MdbRecovery& recovery, const Table& table) {
  const size_t pageSize = kPageSize;
  std::vector<uint8_t> definition((table.continuations.size() + 1) * pageSize, 0);
  recovery.ReadPageByNumber(definition.data(), table.tdefPage);
  std::vector<uint8_t> page(pageSize);
  for (size_t k = 0; k < table.continuations.size(); ++k) {
    if (recovery.ReadPageByNumber(page.data(), table.continuations[k].tdefPage) <= 0) continue;
    const size_t at = (k + 1) * pageSize - kPageHeaderSize * k;
    std::memcpy(definition.data() + at, page.data() + kPageHeaderSize, pageSize - kPageHeaderSize);
  }
  return definition;
}

// One table per owner of data pages that no definition page in the list names; the catalog
// may still name it. Such a table has no definition file offset.
void appendOrphanTables(const std::unordered_set<uint32_t>& freePages) {
  std::unordered_set<uint32_t> definitionPages;
  for (const Table& table : g_tables) {
    definitionPages.insert(table.tdefPage);
    for (const Table& continuation : table.continuations) definitionPages.insert(continuation.tdefPage);
  }
  for (int32_t owner : FindOrphanOwners(g_pageMap, definitionPages, freePages)) {
    Table table;
    table.tdefPage = static_cast<uint32_t>(owner);
    char name[64];
    std::snprintf(name, sizeof name, "Recovered Table %04d-%04d", static_cast<int>(g_tables.size() + 1),
                  static_cast<int>(owner));
    table.name = name;
    g_tables.push_back(std::move(table));
  }
}

// The tables whose definitions decode, as candidates for the layout of orphan rows (the
// engine's own tables are none).
std::vector<Table> decodedSiblings(const std::vector<char>& decoded) {
  std::vector<Table> siblings;
  for (size_t i = 0; i < g_tables.size(); ++i) {
    if (!decoded[i] || startsWith(g_tables[i].name, kSystemPrefix)) continue;
    Table sibling;
    sibling.name = g_tables[i].name;
    sibling.columns = g_tables[i].columns;
    sibling.maxColumns = g_tables[i].maxColumns;
    sibling.variableColumnCount = g_tables[i].variableColumnCount;
    siblings.push_back(std::move(sibling));
  }
  return siblings;
}

std::string inferredStatus(const Table& table) {
  return "Layout of table " + table.name +
         (table.layoutSource == "sibling" ? " taken from a sibling definition" : " inferred from its rows") +
         ", rows not readable : " + std::to_string(table.unreadableRows);
}

int32_t countUserTables() {
  int32_t count = 0;
  for (const Table& table : g_tables)
    if (!startsWith(table.name, kSystemPrefix)) ++count;
  return count;
}
}  // namespace

int MdbRecovery::DiscoverTables() {
  appendTablePerDefinitionPage();

  std::unordered_map<uint32_t, size_t> tableByPage;
  for (size_t i = 0; i < g_tables.size(); ++i) tableByPage.emplace(g_tables[i].tdefPage, i);
  std::vector<bool> isHead(g_tables.size(), true);
  std::vector<uint8_t> page(kPageSize);
  for (size_t i = 0; i < g_tables.size(); ++i) {
    Table& table = g_tables[i];
    if (table.tdefFileOffset == kNoDefinitionPage) continue;
    if (ReadPageByNumber(page.data(), table.tdefPage) > 0) {
      const support::ByteView bytes(page);
      table.rowCount = bytes.u32(layout.tdefRowCountOffset);
      table.type = bytes.u8(layout.tableTypeOffset);
      table.maxColumns = bytes.u16(layout.maxColumnsOffset);
      table.variableColumnCount = bytes.u16(layout.variableColumnsOffset);
      table.columnCount = bytes.u16(layout.columnCountOffset);
    }
    if (isHead[i]) joinContinuations(i, tableByPage, isHead);
  }
  KeepTables(isHead);
  const std::unordered_set<uint32_t> freePages = ReadFreePages(*this);
  appendOrphanTables(freePages);

  ReadCatalogNames();
  channel->publishStatus("Analyzing Completed");
  const int32_t userTables = countUserTables();
  channel->tablesTotal = userTables;
  char text[64];
  std::snprintf(text, sizeof text, "User tables found = %d", userTables);
  // After a stop the list keeps exactly the tables whose schema was read: none yet.
  if (channel->publishStatus(text)) {
    g_tables.clear();
    return -1;
  }

  channel->tablesRead = 0;
  // Every definition is decoded first, so that orphan rows can be matched to any of them.
  std::vector<char> decoded(g_tables.size(), 0);
  for (size_t i = 0; i < g_tables.size(); ++i)
    if (g_tables[i].tdefFileOffset != kNoDefinitionPage)
      decoded[i] = DecodeTableDefinition(assembleDefinition(*this, g_tables[i]), g_tables[i]) != 0;
  const std::vector<Table> siblings = decodedSiblings(decoded);
  // Tables with a layout move down over those without, before they are handed over (the tree
  // keeps pointers to them): one pass, however many definitions fail.
  size_t kept = 0;
  for (size_t i = 0; i < g_tables.size(); ++i) {
    // After a stop the list keeps exactly the tables whose schema was read.
    if (channel->aborted()) {
      channel->recoveryTblEvent.set();
      break;
    }
    // A definition that does not decode leaves its rows to the orphans' inference; the
    // engine's own tables are not guessed.
    if (!decoded[i] &&
        (startsWith(g_tables[i].name, kSystemPrefix) || !GiveOrphanLayout(*this, g_tables[i], siblings, freePages)))
      continue;
    if (kept != i) g_tables[kept] = std::move(g_tables[i]);
    Table& table = g_tables[kept++];
    table.index = static_cast<int32_t>(kept - 1);
    if (steps.readColumnProperties) steps.readColumnProperties(*this, table);
    channel->tableToAdd = &table;
    channel->tablesRead += 1;
    if (!table.layoutSource.empty()) {
      const std::string status = inferredStatus(table);
      support::LogExecution(status);
      channel->setStatusText(status);
    } else if (!startsWith(table.name, kSystemPrefix)) {
      std::string status = "Schema read of table : " + table.name;
      channel->setStatusText(status);
    }
    if (channel->publishStatus()) break;
    channel->handOver();
  }
  g_tables.resize(kept);
  channel->recoveryTblEvent.set();
  return static_cast<int>(g_tables.size());
}

int MdbRecovery::ReadTableSchema(uint32_t tdefPage, Table& table) {
  table = Table{};
  table.tdefPage = tdefPage;
  const PageMetaData* head = g_pageMap.findByNumber(tdefPage);
  if (head == nullptr || head->pageType != 2) return 0;
  std::unordered_set<uint32_t> chain{tdefPage};
  for (uint32_t next = nextDefinitionPage(tdefPage); next != 0 && chain.insert(next).second;
       next = nextDefinitionPage(next)) {
    Table continuation;
    continuation.tdefPage = next;
    table.continuations.push_back(std::move(continuation));
  }
  return DecodeTableDefinition(assembleDefinition(*this, table), table);
}

}  // namespace analysis
