// Fuzzes one data page through ReadRecord, the export's row reader, the row check and the row
// state classifier, with a table whose definition (indexes included) is fuzzed too. Input: a 2-byte definition length, the definition,
// then the data page (cut or padded to one page).
#include <algorithm>
#include <string>
#include <vector>

#include "analysis/table_indexes.h"
#include "fuzz/fuzz_support.h"
#include "records/record_fetch.h"
#include "records/row_check.h"
#include "records/row_decoder.h"
#include "records/row_layout.h"
#include "records/row_states.h"

namespace {
// Touches every decoded field the way an export would, so sanitizers see each text.
class TouchingWriter : public records::FieldWriter {
 public:
  bool writeField(const analysis::Column&, analysis::Field& field) override {
    total += field.text.size();
    return !field.text.empty();
  }
  size_t total = 0;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t definitionLength = std::min<size_t>(data[0] | data[1] << 8, size - 2);
  // The definition is at least one page, as the analysis assembles it.
  std::vector<uint8_t> definition(std::max<size_t>(definitionLength, analysis::kPageSize), 0);
  std::copy(data + 2, data + 2 + definitionLength, definition.begin());
  const uint8_t* pageBytes = data + 2 + definitionLength;
  const size_t pageLength = std::min<size_t>(size - 2 - definitionLength, analysis::kPageSize);

  analysis::MdbRecovery& recovery = fuzzsupport::PageRecovery();
  analysis::Table table;
  if (recovery.DecodeTableDefinition(definition, table) != 1) return 0;
  (void)analysis::PrimaryKeyColumns(table);  // the index blocks that follow the column names
  std::copy(pageBytes, pageBytes + pageLength, table.pageBuffer.begin());
  analysis::g_rowFields.assign(table.maxColumns, analysis::Field{});

  // Every row entry on the page, and a few beyond its stated count.
  const int rows = records::RowsOnPage(support::ByteView(table.pageBuffer)) + 4;
  std::string text;
  TouchingWriter writer;
  const support::ByteView page(table.pageBuffer);
  const records::EntryClassifier classifier(table);
  for (int row = 0; row < rows; ++row) {
    records::ReadRecord(recovery, table, row, text);
    records::ReadRowForExport(recovery, table, row, writer);
    records::RowEntry entry;
    if (records::ReadRowEntry(page, row, entry) && entry.end >= entry.start)
      (void)records::CheckRow(table, page.slice(entry.start, entry.end - entry.start + 1));
    classifier.classify(page, 1, row % 2 == 0, row);
  }
  fuzzsupport::RemoveObjectFiles();
  return 0;
}
