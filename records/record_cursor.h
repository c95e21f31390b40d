// RecordCursor: the one walk over a table's data pages and their row entries, in file order,
// that record retrieval, the record index and the exports share. It yields the rows that are
// records, each decoded into g_rowFields (typed values, and display texts when asked for).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "support/byte_view.h"
#include "support/value.h"

namespace records {

// True when row rowIndex of the page (number pageNumber) is a record: its entry lies on the page,
// it is not deleted (nor a moved row that only deleted pointers lead to), and its layout is
// sound with at least one stored column.
bool RowIsRecord(support::ByteView page, const analysis::Table& table, int rowIndex, int32_t pageNumber = -1);

enum class RowState : uint8_t {
  kLive,       // a record of the table
  kDeleted,    // a deleted row that still holds its data (not yielded yet)
  kFreeSpace,  // a row found in a page's free space (not yielded yet)
};

// A row entry: the data page's position in table.dataPages and the entry's number on it.
struct RowPosition {
  int32_t pageIndex = 0;
  int row = 0;
  bool operator==(const RowPosition&) const = default;
};

enum class CursorDecode {
  kNone,            // records are found, not decoded (counting)
  kValues,          // typed values only (the writers)
  kValuesAndTexts,  // typed values, display texts and the record text (the record list)
};

class RecordCursor {
 public:
  // Decoding cursors read each page into table.pageBuffer, where the row decoder looks, and size
  // g_rowFields for the table.
  RecordCursor(analysis::MdbRecovery& recovery, analysis::Table& table, CursorDecode decode, RowPosition start = {});
  // A counting cursor (kNone) reads into a page buffer of its own: the table stays untouched.
  RecordCursor(analysis::MdbRecovery& recovery, const analysis::Table& table, RowPosition start = {});

  // Steps to the next record and decodes it. False at the table's end or on abort.
  bool next();

  RowState state() const { return state_; }
  // The current record's entry, and where the walk goes on (the entry after it; at the end, the
  // last page's entry count).
  RowPosition position() const { return current_; }
  RowPosition resumePosition() const { return next_; }
  bool aborted() const;

  // The current record's field of a column; a column its row does not cover is null.
  const analysis::Field& field(const analysis::Column& column) const;
  const support::Value& value(const analysis::Column& column) const { return field(column).value; }
  // kValuesAndTexts: every column's text followed by the field separator, in table order.
  const std::string& recordText() const { return recordText_; }

 private:
  // Loads the page at next_.pageIndex; the entries it holds.
  int loadPage();
  bool decodeCurrent();

  analysis::MdbRecovery& recovery_;
  const analysis::Table& table_;
  analysis::Table* decodingTable_ = nullptr;  // null for a counting cursor
  CursorDecode decode_;
  std::vector<uint8_t> ownPage_;
  const std::vector<uint8_t>* page_ = nullptr;
  int32_t loadedPage_ = -1;
  int rowsOnPage_ = 0;
  RowPosition current_;
  RowPosition next_;
  RowState state_ = RowState::kLive;
  std::string recordText_;
  analysis::Field nullField_;
};

}  // namespace records
