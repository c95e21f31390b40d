// A table being filled: rows go onto its data pages as they come, long values onto the
// pages of their column, index entries are kept until the file is finished.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet4/data_page.h"
#include "jet4/index_pages.h"
#include "jet4/long_value_store.h"
#include "jet4/row_encoder.h"
#include "jet4/table_schema.h"

namespace jet4 {

class PageFile;

class TableWriter {
 public:
  TableWriter(PageFile& file, TableDef table, uint32_t tdefPage);

  const TableDef& table() const { return table_; }
  const TableLayout& layout() const { return layout_; }
  uint32_t tdefPage() const { return tdefPage_; }
  uint32_t rowCount() const { return rowCount_; }
  uint32_t lastAutoNumber() const { return lastAutoNumber_; }

  // Appends one row (fields by column number; MEMO/OLE fields hold their data). An
  // autonumber column left null gets the next number. Throws EngineError when the row does
  // not fit a page.
  void appendRow(std::vector<FieldValue> fields);

  // Writes the pages still being filled.
  void finish();

  const std::vector<uint32_t>& dataPages() const { return dataPages_; }
  const std::vector<uint32_t>& pagesWithRoom() const { return pagesWithRoom_; }
  const std::vector<LongValueStore>& longValues() const { return longValues_; }
  std::vector<IndexEntry> takeIndexEntries(size_t index) { return std::move(indexEntries_[index]); }

 private:
  std::string encodeWithLongValues(std::vector<FieldValue>& fields);
  void assignAutoNumber(std::vector<FieldValue>& fields);
  void addIndexEntries(const std::vector<FieldValue>& fields, uint32_t page, uint8_t row);
  void closeCurrentPage();

  PageFile* file_;
  TableDef table_;
  TableLayout layout_;
  uint32_t tdefPage_;
  uint32_t rowCount_ = 0;
  uint32_t lastAutoNumber_ = 0;
  DataPage current_;
  uint32_t currentNumber_ = 0;
  bool open_ = false;
  std::vector<uint32_t> dataPages_;
  std::vector<uint32_t> pagesWithRoom_;
  std::vector<LongValueStore> longValues_;  // one per MEMO/OLE column, in column order
  std::vector<int> longValueOf_;            // column number -> index in longValues_, or -1
  std::vector<std::vector<IndexEntry>> indexEntries_;
};

}  // namespace jet4
