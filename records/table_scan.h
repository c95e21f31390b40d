// Reads every live row of a table that the record list never shows (the hidden data tables of
// complex columns and the catalog's MSysComplexColumns), handing each column's value bytes to
// the caller. It keeps its own page buffer and never touches g_rowFields.
#pragma once

#include <functional>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "records/row_layout.h"
#include "support/byte_view.h"

namespace records {

// One row of a scanned table: where it lies on its page.
struct ScannedRow {
  support::ByteView page;
  RowGeometry geometry;

  // The value bytes of a column, or nullopt-like false when the column is null or absent in
  // this row. A BIT column's value is its presence bit: true with empty bytes when set.
  bool value(const analysis::Column& column, support::ByteView& bytes) const;
};

// Calls onRow for every row of the table's data pages that is not deleted and not a pointer
// to a moved row; malformed rows are skipped. Stops early when onRow returns false.
void ScanTableRows(analysis::MdbRecovery& recovery, const analysis::Table& table,
                   const std::function<bool(const ScannedRow&)>& onRow);

// The column of this name, or nullptr.
const analysis::Column* FindColumn(const analysis::Table& table, const std::string& name);

}  // namespace records
