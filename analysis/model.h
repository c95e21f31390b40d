// The records every part of the analysis shares: pages, tables, columns, decoded fields and
// queries, and the program-wide lists that hold them until the next file is opened.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/format_layout.h"
#include "support/value.h"

namespace analysis {

// One page read by the page scan.
struct PageMetaData {
  uint32_t pageNumber = 0;
  uint64_t fileOffset = 0;
  int16_t pageType = 0;    // byte 0: 1 data page, 2 table definition
  uint16_t freeSpace = 0;  // types 1 and 2: u16 at offset 2
  int32_t owner = -1;      // types 1 and 2: u32 at offset 4 (owning table definition / next definition page)
  int16_t rowCount = 0;    // type 1: u16 at offset 12; type 2: low 16 bits at offset 16

  // Type 1: a row entry is flagged 0x8000 alone (the data of a moved row).
  bool holdsMovedRow = false;
};

// The page map: every scanned page in scan order, with a lookup by page number.
class PageMap {
 public:
  void clear();
  void push_back(const PageMetaData& page);
  size_t size() const { return pages_.size(); }
  bool empty() const { return pages_.empty(); }
  const PageMetaData& operator[](size_t position) const { return pages_[position]; }
  std::vector<PageMetaData>::const_iterator begin() const { return pages_.begin(); }
  std::vector<PageMetaData>::const_iterator end() const { return pages_.end(); }
  // The first entry with this page number, or nullptr.
  const PageMetaData* findByNumber(uint32_t pageNumber) const;
  // Page numbers of the data pages (type 1) whose owner is this page, in map order.
  const std::vector<uint32_t>& dataPagesOwnedBy(int32_t owner) const;

 private:
  std::vector<PageMetaData> pages_;
  std::vector<int32_t> positionByNumber_;  // -1 where no entry has that number
  std::unordered_map<int32_t, std::vector<uint32_t>> dataPagesByOwner_;
};

struct Column {
  static constexpr size_t kMaxNameBytes = 259;  // the name field holds 259 bytes and a terminator

  std::string name;  // UTF-8, cleaned
  int32_t type = -1;
  int32_t length = 0;
  int32_t columnNumber = -1;
  int32_t rowColumnNumber = -1;
  bool isFixed = false;
  bool isAutoNumber = false;  // descriptor flag 0x04: the engine numbers this LONG column
  int32_t fixedOffset = -1;
  int32_t variableIndex = -1;
  int32_t precision = 0;
  int32_t scale = 0;
  uint8_t extFlags = 0;    // descriptor byte 16: 0x01 compressed text, 0xC0 calculated (newer files)
  int32_t complexId = 0;   // complex columns (type 18): the key into MSysComplexColumns
  std::string expression;  // calculated columns: the expression whose results the rows keep
};

// A named index of a table definition.
struct TableIndex {
  static constexpr uint8_t kPrimaryKey = 1;
  static constexpr uint8_t kForeignKey = 2;

  std::string name;
  std::vector<int32_t> columnNumbers;  // the key's columns (Column::columnNumber), in key order
  bool unique = false;
  uint8_t kind = 0;  // 0 normal, kPrimaryKey, kForeignKey
};

struct Table {
  uint32_t tdefPage = static_cast<uint32_t>(-1);
  int32_t index = -1;
  int32_t type = -1;
  uint32_t maxColumns = 0;
  uint32_t columnCount = 0;
  uint32_t variableColumnCount = 0;
  uint32_t rowCount = 0;
  int32_t nextRecordIndex = 0;
  int32_t nextRowInPage = 0;
  int32_t currentPageIndex = -1;
  int32_t exportedRecords = 0;
  uint64_t tdefFileOffset = static_cast<uint64_t>(-1);
  std::string name;
  std::vector<Table> continuations;
  std::vector<int32_t> dataPages;   // live data pages: owned by the table and listed in its map
  std::vector<int32_t> freedPages;  // pages that name the table but that its map no longer lists
  bool usageMapDamaged = false;     // the map could not be read: dataPages come from the owner scan
  // Moved rows (entry flag 0x8000 alone) that only deleted pointers lead to: deleted rows.
  // Each is page << 8 | row, sorted.
  std::vector<uint32_t> abandonedMovedRows;
  std::vector<Column> columns;
  std::vector<TableIndex> indexes;  // from the table's own definition; none for inferred layouts
  uint32_t catalogFlags = 0;        // the catalog's flags of the table (0 when the catalog does not name it)
  std::vector<uint8_t> pageBuffer = std::vector<uint8_t>(kPageSize, 0);
  std::string createStatement;
  // Empty when the layout comes from the table's own definition; "rows" when its definition is
  // lost and the layout was inferred from its rows, "sibling" when it was taken from another
  // definition that the rows fit. Rows that do not fit such a layout are unreadable.
  std::string layoutSource;
  int32_t fixedAreaSize = -1;  // with layoutSource: the fixed area every row has, in bytes
  int64_t unreadableRows = 0;  // with layoutSource: rows on its pages that do not fit
};

// One decoded field of the row being decoded, indexed by column number.
struct Field {
  int32_t present = -1;
  int32_t size = 0;
  std::string text;
  support::Value value;  // the typed value the decoder made; text is its display form
};

struct Queries {
  int32_t id = -1;
  std::string name;
  std::string sqlText;
  bool hidden = false;  // the record source of a form, a report or a control ("~sq_..."), not a saved query
};

// The program-wide lists. Filled by one analysis, emptied when the next file is opened; the
// tree, the grid and the export hold pointers into them meanwhile.
extern PageMap g_pageMap;
extern std::vector<Table> g_tables;
extern std::vector<uint64_t> g_candidateOffsets;
extern std::vector<Field> g_rowFields;
extern std::vector<std::unique_ptr<Queries>> g_queries;

// Every object the catalog names, by id (for a table, its definition page), hidden and system
// tables included: the complex-column data tables and MSysComplexColumns are read through it
// although they are not listed with the user tables.
struct CatalogObject {
  std::string name;
  int32_t type = 0;
  uint32_t flags = 0;  // 0x80000000: a system object (the catalog tables, complex-column data)
};
extern std::unordered_map<uint32_t, CatalogObject> g_catalogObjects;

// Removes from g_tables the tables whose flag in keep is false, in one pass, keeping the order
// of the rest (a damaged file can hold tens of thousands of definition pages).
void KeepTables(const std::vector<bool>& keep);

}  // namespace analysis
