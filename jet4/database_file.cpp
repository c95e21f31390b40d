// Creating, filling and finishing a database file.
#include "jet4/database_file.h"

#include <unistd.h>

#include <array>
#include <atomic>

#include "engine/engine.h"
#include "format/text_codec.h"
#include "jet4/data_page.h"
#include "jet4/index_pages.h"
#include "jet4/system_tables.h"
#include "jet4/table_definition.h"
#include "jet4/usage_map.h"
#include "platform/file_system.h"
#include "platform/new_file.h"

namespace jet4 {

namespace {
constexpr uint32_t kHeaderPage = 0;
constexpr uint32_t kGlobalMapPage = 1;
constexpr uint32_t kFirstSystemTablePage = 2;
enum : size_t { kObjects, kAces, kQueries, kRelationships };

constexpr uint32_t kGlobalMapOwner = 1;
constexpr size_t kSecondGlobalRow = 69;  // the engine's second, all-zero row on page 1

std::string temporaryNameFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

// Rows for the table's usage maps, in the order the engine places them: owned pages, free
// space, two per MEMO/OLE column, one per index.
TableState writeTableMaps(PageFile& file, UsageMapPages& maps, TableWriter& table) {
  TableState state;
  state.rowCount = table.rowCount();
  state.lastAutoNumber = table.lastAutoNumber();
  state.ownedMap = maps.add(BuildUsageMap(file, table.dataPages()));
  state.freeMap = maps.add(BuildUsageMap(file, table.pagesWithRoom()));
  for (const LongValueStore& store : table.longValues()) {
    LongValueMaps lv;
    lv.owned = maps.add(BuildUsageMap(file, store.pages()));
    lv.free = maps.add(BuildUsageMap(file, store.pagesWithRoom()));
    state.longValueMaps.push_back(lv);
  }
  for (size_t i = 0; i < table.table().indexes.size(); ++i) {
    WrittenIndex written = WriteIndex(file, table.tdefPage(), table.takeIndexEntries(i));
    IndexState index;
    index.rootPage = written.rootPage;
    index.distinctKeys = written.distinctKeys;
    index.map = maps.add(BuildUsageMap(file, written.pages));
    state.indexes.push_back(index);
  }
  return state;
}
}  // namespace

DatabaseFile::~DatabaseFile() {
  abandon();
}

void DatabaseFile::create(const std::string& path, const HeaderSettings& settings) {
  if (open_) throw engine::EngineError("a database is open already");
  if (path.empty() || platform::FileExists(path) || platform::FolderExists(path))
    throw engine::EngineError("the database file exists already: " + path);
  path_ = path;
  temporaryPath_ = temporaryNameFor(path);
  settings_ = settings;
  file_.create(temporaryPath_);
  open_ = true;
  tables_.clear();
  try {
    file_.allocate();  // page 0, the header
    file_.allocate();  // page 1, the global page map
    std::vector<TableDef> system = {MSysObjectsTable(), MSysAcesTable(), MSysQueriesTable(), MSysRelationshipsTable()};
    std::vector<int32_t> ids;
    for (TableDef& def : system) {
      // Format detection knows the system tables by their definitions on pages 2 to 5.
      const uint32_t page = file_.allocate();
      if (page != kFirstSystemTablePage + ids.size()) throw engine::EngineError("system table pages misplaced");
      ids.push_back(static_cast<int32_t>(page));
      tables_.push_back(std::make_unique<TableWriter>(file_, std::move(def), page));
    }
    for (auto& row : InitialCatalogRows(ids, settings_.creationDate)) tables_[kObjects]->appendRow(std::move(row));
    for (auto& row : InitialAccessRows(ids)) tables_[kAces]->appendRow(std::move(row));
  } catch (...) {
    abandon();
    throw;
  }
}

TableWriter* DatabaseFile::findTable(const std::string& name) {
  const std::u16string wanted = format::FoldedName(name);
  for (auto& table : tables_)
    if (format::FoldedName(table->table().name) == wanted) return table.get();
  return nullptr;
}

TableWriter& DatabaseFile::createTable(TableDef table) {
  if (!open_) throw engine::EngineError("the database is not open");
  if (findTable(table.name) != nullptr) throw engine::EngineError("table " + table.name + " already exists");
  const uint32_t page = file_.allocate();
  const auto id = static_cast<int32_t>(page);
  const std::string name = table.name;
  tables_.push_back(std::make_unique<TableWriter>(file_, std::move(table), page));
  tables_[kObjects]->appendRow(UserTableCatalogRow(id, name, settings_.creationDate));
  for (auto& row : UserTableAccessRows(id)) tables_[kAces]->appendRow(std::move(row));
  return *tables_.back();
}

void DatabaseFile::writeGlobalPageMap() {
  DataPage page(kGlobalMapOwner);
  page.add(BuildFreePageMap(file_.pageCount()));
  page.add(std::string(kSecondGlobalRow, '\0'));
  file_.write(kGlobalMapPage, page.bytes());
}

void DatabaseFile::finishFile() {
  for (auto& table : tables_) table->finish();
  UsageMapPages maps(file_);
  for (auto& table : tables_) {
    const TableState state = writeTableMaps(file_, maps, *table);
    WriteTableDefinition(file_, table->tdefPage(), BuildTableDefinition(table->table(), state));
  }
  maps.finish();
  writeGlobalPageMap();
  const auto header = BuildHeaderPage(settings_);
  file_.write(kHeaderPage, header.data());
  file_.finish();
  if (!platform::RenameWithoutReplacing(temporaryPath_, path_))
    throw engine::EngineError("the database file could not be put in place: " + path_);
}

void DatabaseFile::close() {
  if (!open_) return;
  try {
    finishFile();
  } catch (...) {
    abandon();
    throw;
  }
  open_ = false;
  tables_.clear();
}

void DatabaseFile::abandon() {
  if (!open_) return;
  file_.abandon();
  platform::DeleteFile(temporaryPath_);
  open_ = false;
  tables_.clear();
}

}  // namespace jet4
