// The row decoder: presence from the null mask, fixed values by fixed offset, variable values
// by variable index (so a dropped column never shifts the values after it).
#include "records/row_decoder.h"

#include <functional>

#include "analysis/row_shape.h"
#include "records/record_fetch.h"
#include "records/row_layout.h"
#include "records/row_states.h"
#include "records/type_names.h"
#include "records/value_decode.h"
#include "records/value_text.h"

namespace records {

namespace {
constexpr const char* kNull = "NULL";

enum class WalkMode { kRecordList, kExport, kValues };

analysis::Field& fieldOf(const analysis::Column& column, analysis::Field& scratch) {
  if (column.columnNumber >= 0 && static_cast<size_t>(column.columnNumber) < analysis::g_rowFields.size())
    return analysis::g_rowFields[static_cast<size_t>(column.columnNumber)];
  scratch = analysis::Field{0, 0, kNull, {}};  // a column number the row fields do not cover: null
  return scratch;
}

// The column's typed value, and its display text as the record texts carry it.
void decode(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column, int64_t position,
            int64_t length, analysis::Field& field, WalkMode mode) {
  DecodeValue(recovery, page, column, position, length, field.value);
  if (mode == WalkMode::kValues) return;  // the texts stay "NULL": nobody reads them
  field.text.clear();
  if (field.value.kind == support::ValueKind::kLongBinary)
    field.text = OleObjectFile(recovery, field.value);  // readers of the text find the object in a file
  else
    AppendValueText(column, field.value, field.text);
  // An empty text would vanish when the row text is split: an absent value is "NULL".
  if (field.text.empty()) field.text = kNull;
}

// Decodes one column's value into its field; true when a value form (or the BIT rule) ran.
bool decodeColumn(analysis::MdbRecovery& recovery, support::ByteView page, const RowGeometry& row,
                  const analysis::Column& column, analysis::Field& field, WalkMode mode) {
  if (column.isFixed) {
    if (column.type == kTypeBit) {  // the null-mask bit is the value
      field.value.kind = support::ValueKind::kBoolean;
      field.value.integer = field.present == 1 ? 1 : 0;
      if (mode != WalkMode::kValues) field.text = field.present == 1 ? "1" : "0";
      return true;
    }
    const int64_t valueStart = 2 + static_cast<int64_t>(column.fixedOffset);
    const bool inside =
        column.fixedOffset >= 0 && column.length > 0 && valueStart + column.length - 1 <= row.fixedBound;
    if (field.present == 1 && inside) {
      decode(recovery, page, column, row.start + valueStart, column.length, field, mode);
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
  // A value starting at the end of the data is present and empty (a zero-length text last in the row).
  if (valueStart <= row.fixedBound || valueStart > row.dataEnd) {
    field.present = 0;
    return false;
  }
  const int64_t valueEnd = row.variableStart(page, k + 1);
  if (valueEnd < valueStart || valueEnd > row.dataEnd) return false;  // stays present, "NULL"
  decode(recovery, page, column, row.start + valueStart, valueEnd - valueStart, field, mode);
  return true;
}

// Presence pass for every column number, then the walk over the table's columns; onColumn sees
// each column with its field and whether it was decoded. -1 when malformed or aborted.
int walkRow(analysis::MdbRecovery& recovery, analysis::Table& table, int64_t rowStart, int64_t rowEnd, WalkMode mode,
            bool& anyPresent, const std::function<void(const analysis::Column&, analysis::Field&, bool)>& onColumn) {
  const support::ByteView page(table.pageBuffer);
  RowGeometry row;
  if (!ReadRowGeometry(page, table, rowStart, rowEnd, row)) return -1;
  // A table whose definition is lost reads only the rows that fit the layout it was given.
  if (!table.layoutSource.empty() && !analysis::RowFitsLayout(page.slice(rowStart, rowEnd - rowStart + 1), table))
    return -1;
  anyPresent = false;
  for (size_t c = 0; c < analysis::g_rowFields.size() && c < table.maxColumns; ++c) {
    auto& field = analysis::g_rowFields[c];
    field.present = row.present(page, static_cast<int32_t>(c)) ? 1 : 0;
    field.text = kNull;
    field.value.clear();
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

int DecodeRowValues(analysis::MdbRecovery& recovery, analysis::Table& table, int64_t rowStart, int64_t rowEnd) {
  bool anyPresent = false;
  return walkRow(recovery, table, rowStart, rowEnd, WalkMode::kValues, anyPresent,
                 [](const analysis::Column&, analysis::Field&, bool) {});
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
