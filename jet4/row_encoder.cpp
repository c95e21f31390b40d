// Encoding a row.
#include "jet4/row_encoder.h"

#include <cstring>

#include "jet4/page_format.h"

namespace jet4 {

std::string EncodeRow(const TableDef& table, const TableLayout& layout, const std::vector<FieldValue>& fields) {
  const size_t columnCount = table.columns.size();
  std::string row(2 + static_cast<size_t>(layout.fixedSize), '\0');
  Put16(row, 0, static_cast<uint32_t>(columnCount));
  std::string nullMask((columnCount + 7) / 8, '\0');
  std::vector<const FieldValue*> slots(static_cast<size_t>(layout.variableCount), nullptr);

  for (size_t number = 0; number < columnCount; ++number) {
    const ColumnDef& column = table.columns[number];
    const FieldValue& field = fields[number];
    if (field.present) nullMask[number / 8] = static_cast<char>(nullMask[number / 8] | (1 << (number % 8)));
    if (column.type == ColumnType::kBool) continue;
    if (column.isFixed()) {
      if (field.present)
        std::memcpy(&row[2 + static_cast<size_t>(layout.fixedOffset[number])], field.bytes.data(),
                    std::min<size_t>(field.bytes.size(), column.length));
    } else {
      slots[static_cast<size_t>(layout.variableIndex[number])] = &field;
    }
  }

  if (layout.variableCount > 0) {
    std::vector<size_t> starts;
    starts.reserve(slots.size());
    for (const FieldValue* slot : slots) {
      starts.push_back(row.size());
      if (slot->present) row += slot->bytes;
    }
    const size_t eod = row.size();
    row.resize(row.size() + 2 * (slots.size() + 2));
    size_t at = eod;
    Put16(row, at, static_cast<uint32_t>(eod));
    at += 2;
    for (size_t i = slots.size(); i-- > 0; at += 2) Put16(row, at, static_cast<uint32_t>(starts[i]));
    Put16(row, at, static_cast<uint32_t>(slots.size()));
  }
  row += nullMask;
  return row;
}

}  // namespace jet4
