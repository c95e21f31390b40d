// Layout inference: the columns of a table whose definition is lost, worked out from its rows.
// The rows give the column count, the variable slot count and the fixed area; the bytes give
// the types (integers, currency, doubles and dates in plausible ranges, GUIDs, texts, long-value
// references); the null masks tie each column to its column number.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/model.h"
#include "support/byte_view.h"

namespace analysis {

// The bytes of a page by number, empty when it cannot be read (long-value pages, to tell a
// memo from an OLE object).
using PageSource = std::function<std::vector<uint8_t>(uint32_t pageNumber)>;

struct InferredLayout {
  bool found = false;
  uint32_t columnCount = 0;    // N every fitting row stores (the table's maxColumns)
  uint32_t variableCount = 0;  // V every fitting row stores
  int32_t fixedAreaSize = 0;
  std::vector<Column> columns;  // by column number, named "Column1", ...
  int64_t rowsFitting = 0;
  int64_t rowsUnreadable = 0;
};

// rows: each live row's bytes, from its column count to its null mask. pages may be empty.
InferredLayout InferRowLayout(const std::vector<support::ByteView>& rows, const PageSource& pages = {});

// Gives table the inferred layout (columns, counts, fixed area, layoutSource "rows").
void ApplyInferredLayout(const InferredLayout& layout, Table& table);

}  // namespace analysis
