// Decoding one row of a table's loaded data page into g_rowFields (indexed by column number),
// each field's typed value beside its display text: for the record list as one row text (each column's value followed
// by the field separator), for the export field by field through a FieldWriter.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "records/field_writer.h"

namespace records {

constexpr const char* kFieldSeparator = "@##@#$~##%";

// rowStart and rowEnd are the row's first and last byte in table.pageBuffer. Returns the
// row's stored column count, or -1 for a malformed row or a raised abort flag (rowText is
// assigned only on success).
int DecodeRow(analysis::MdbRecovery& recovery, analysis::Table& table, int64_t rowStart, int64_t rowEnd,
              std::string& rowText);

// As DecodeRow, but only the typed values are made (the fields' texts stay "NULL", no OLE file is
// written): the writers' fast path.
int DecodeRowValues(analysis::MdbRecovery& recovery, analysis::Table& table, int64_t rowStart, int64_t rowEnd);

// Returns the number of fields the writer counted, 1 for a row with no present column (nothing
// written), -1 for a malformed row or a raised abort flag.
int DecodeRowForExport(analysis::MdbRecovery& recovery, analysis::Table& table, int64_t rowStart, int64_t rowEnd,
                       FieldWriter& writer);

// Locates row rowIndex on the loaded page and decodes it for the export. Returns 1 when the
// decoder's result was non-zero, 0 when it was zero or the row is deleted, -1 on abort.
int ReadRowForExport(analysis::MdbRecovery& recovery, analysis::Table& table, int rowIndex, FieldWriter& writer);

}  // namespace records
