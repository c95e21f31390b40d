// The row decoder: presence from the null mask, fixed values by fixed offset, variable values
// by variable index (so a dropped column never shifts the values after it).
#include "records/row_decoder.h"

#include <functional>

#include "records/record_fetch.h"
#include "records/row_layout.h"
#include "records/row_states.h"
#include "records/type_names.h"
#include "records/value_format.h"

namespace records {

namespace {
constexpr const char* kNull = "NULL";

enum class WalkMode { kRecordList, kExport };

analysis::Field& fieldOf(const analysis::Column& column, analysis::Field& scratch) {
  if (column.columnNumber >= 0 && static_cast<size_t>(column.columnNumber) < analysis::g_rowFields.size())
    return analysis::g_rowFields[static_cast<size_t>(column.columnNumber)];
  scratch = analysis::Field{0, 0, kNull};  // a column number the row fields do not cover: null
  return scratch;
}

void format(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column, int64_t position,
            int64_t length, analysis::Field& field) {
  FormatField(recovery, page, column, position, length, field.text);
  // An empty text would vanish when the row text is split: an absent value is "NULL".
  if (field.text.empty()) field.text = kNull;
}

// Decodes one column's value into its field; true when a value form (or the BIT rule) ran.
bool decodeColumn(analysis::MdbRecovery& recovery, support::ByteView page, const RowGeometry& row,
                  const analysis::Column& column, analysis::Field& field, WalkMode mode) {
  if (column.isFixed) {
    if (column.type == kTypeBit) {
      field.text = field.present == 1 ? "1" : "0";
      if (mode == WalkMode::kExport && field.present == 1) format(recovery, page, column, 0, 0, field);
      return true;
    }
    const int64_t valueStart = 2 + static_cast<int64_t>(column.fixedOffset);
    const bool inside =
        column.fixedOffset >= 0 && column.length > 0 && valueStart + column.length - 1 <= row.fixedBound;
    if (field.present == 1 && inside) {
      format(recovery, page, column, row.start + valueStart, column.length, field);
      return true;
    }
    field.present = 0;
    return false;
  }
  const int k = column.variableIndex;
  if (field.present != 1 || k < 0 || k >= row.variableCount) {
    field.present = 0;
    return false;
  }
  const int64_t valueStart = row.variableStart(page, k);
  if (valueStart <= row.fixedBound || valueStart >= row.dataEnd) {
    field.present = 0;
    return false;
  }
  const int64_t valueEnd = row.variableStart(page, k + 1);
  if (valueEnd < valueStart || valueEnd > row.dataEnd) return false;  // stays present, "NULL"
  format(recovery, page, column, row.start + valueStart, valueEnd - valueStart, field);
  return true;
}

// Presence pass for every column number, then the walk over the table's columns; onColumn sees
// each column with its field and whether it was decoded. -1 when malformed or aborted.
int walkRow(analysis::MdbRecovery& recovery, analysis::Table& table, int64_t rowStart, int64_t rowEnd, WalkMode mode,
            bool& anyPresent, const std::function<void(const analysis::Column&, analysis::Field&, bool)>& onColumn) {
  const support::ByteView page(table.pageBuffer);
  RowGeometry row;
  if (!ReadRowGeometry(page, table, rowStart, rowEnd, row)) return -1;
  anyPresent = false;
  for (size_t c = 0; c < analysis::g_rowFields.size() && c < table.maxColumns; ++c) {
    auto& field = analysis::g_rowFields[c];
    field.present = row.present(page, static_cast<int32_t>(c)) ? 1 : 0;
    field.text = kNull;
    anyPresent = anyPresent || field.present == 1;
  }
  analysis::Field scratch;
  for (const auto& column : table.columns) fieldOf(column, scratch).size = column.isFixed ? column.length : -1;
  if (mode == WalkMode::kExport && !anyPresent) return row.columnCount;

  for (const auto& column : table.columns) {
    if (recovery.Channel().aborted()) return -1;
    analysis::Field& field = fieldOf(column, scratch);
    const bool decoded = decodeColumn(recovery, page, row, column, field, mode);
    onColumn(column, field, decoded);
  }
  return row.columnCount;
}
}  // namespace

int DecodeRow(analysis::MdbRecovery& recovery, analysis::Table& table, int64_t rowStart, int64_t rowEnd,
              std::string& rowText) {
  std::string text;
  bool anyPresent = false;
  const int result = walkRow(recovery, table, rowStart, rowEnd, WalkMode::kRecordList, anyPresent,
                             [&](const analysis::Column&, analysis::Field& field, bool) {
                               text += field.text;
                               text += kFieldSeparator;
                             });
  if (result >= 0) rowText = std::move(text);
  return result;
}

int DecodeRowForExport(analysis::MdbRecovery& recovery, analysis::Table& table, int64_t rowStart, int64_t rowEnd,
                       FieldWriter& writer) {
  int written = 0;
  bool anyPresent = false;
  const int result = walkRow(recovery, table, rowStart, rowEnd, WalkMode::kExport, anyPresent,
                             [&](const analysis::Column& column, analysis::Field& field, bool decoded) {
                               if (decoded && writer.writeField(column, field)) ++written;
                             });
  if (result < 0) return -1;
  return anyPresent ? written : 1;
}

int ReadRowForExport(analysis::MdbRecovery& recovery, analysis::Table& table, int rowIndex, FieldWriter& writer) {
  recovery.rowIsLookup = 0;
  recovery.rowIsDeleted = 0;
  RowEntry entry;
  if (!ReadRowEntry(support::ByteView(table.pageBuffer), rowIndex, entry)) return 1;  // malformed, as the decoder says
  if (entry.raw & kRowLookupFlag) recovery.rowIsLookup = 1;
  if ((entry.raw & kRowDeletedFlag) || IsAbandonedMovedRow(table, CurrentPageNumber(table), rowIndex))
    recovery.rowIsDeleted = 1;
  if (recovery.rowIsDeleted) return 0;
  if (recovery.Channel().aborted()) return -1;
  const int decoded = DecodeRowForExport(recovery, table, entry.start, entry.end, writer);
  if (recovery.Channel().aborted()) return -1;
  return decoded != 0 ? 1 : 0;
}

}  // namespace records
