// Assigning fixed offsets and variable slots in column-number order.
#include "jet4/table_schema.h"

namespace jet4 {

TableLayout LayOut(const TableDef& table) {
  TableLayout layout;
  for (const ColumnDef& column : table.columns) {
    if (column.isFixed()) {
      // A BOOL lives in the null mask and takes no room in the fixed area.
      const bool stored = column.type != ColumnType::kBool;
      layout.fixedOffset.push_back(stored ? layout.fixedSize : 0);
      layout.variableIndex.push_back(layout.variableCount);
      if (stored) layout.fixedSize += column.length;
    } else {
      layout.fixedOffset.push_back(-1);
      layout.variableIndex.push_back(layout.variableCount++);
    }
    if (column.isLongValue()) ++layout.longValueCount;
  }
  return layout;
}

}  // namespace jet4
