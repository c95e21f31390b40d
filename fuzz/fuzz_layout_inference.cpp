// Fuzzes the layout inference of tables whose definition is lost: the rows of a data page give
// a layout, every row is checked against it and decoded with it. Input: the data page, then an
// optional second page that every long-value reference reads as its long-value page.
#include <algorithm>
#include <string>
#include <vector>

#include "analysis/layout_inference.h"
#include "analysis/orphan_tables.h"
#include "analysis/row_shape.h"
#include "fuzz/fuzz_support.h"
#include "records/record_fetch.h"
#include "records/row_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t pageLength = std::min<size_t>(size, analysis::kPageSize);
  analysis::Table table;
  std::copy(data, data + pageLength, table.pageBuffer.begin());
  std::vector<uint8_t> second(analysis::kPageSize, 0);
  if (size > pageLength)
    std::copy(data + pageLength, data + pageLength + std::min<size_t>(size - pageLength, analysis::kPageSize),
              second.begin());

  int64_t unreadable = 0;
  const std::vector<support::ByteView> rows = analysis::LiveRowsOfPage(support::ByteView(table.pageBuffer), unreadable);
  const analysis::InferredLayout layout = analysis::InferRowLayout(rows, [&second](uint32_t) { return second; });
  if (!layout.found) return 0;
  analysis::ApplyInferredLayout(layout, table);
  for (const auto& row : rows) analysis::RowFitsLayout(row, table);

  analysis::MdbRecovery& recovery = fuzzsupport::PageRecovery();
  analysis::g_rowFields.assign(table.maxColumns, analysis::Field{});
  const int entries = records::RowsOnPage(support::ByteView(table.pageBuffer));
  std::string text;
  for (int row = 0; row < entries; ++row) records::ReadRecord(recovery, table, row, text);
  fuzzsupport::RemoveObjectFiles();
  return 0;
}
