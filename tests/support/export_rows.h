// The small table the table-export tests build: id LONG, flag BIT, amount NUMERIC(18,2), note
// TEXT; each row as the bytes a data page holds, and the file that holds them on one page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/type_names.h"
#include "tests/support/page_builder.h"
#include "tests/support/record_fixture.h"

namespace testsupport {

struct ExportRow {
  int id;
  bool flag;
  uint32_t cents;  // NUMERIC(18,2)
  const char* note;
  uint16_t entryFlags = 0;  // 0xC000: deleted
  bool allNull = false;
};

inline std::vector<uint8_t> ExportRowBytes(const ExportRow& row) {
  if (row.allNull) return RowBuilder(4, 21).bytes();
  const std::vector<uint8_t> numeric =
      Concat(Concat(Concat(Concat({0x00}, Le32(0)), Le32(0)), Le32(0)), Le32(row.cents));
  RowBuilder builder(4, 21);
  builder.fixed(0, 0, Le32(static_cast<uint32_t>(row.id))).present(1, row.flag).fixed(2, 4, numeric);
  builder.variable(3, Utf16(row.note));
  return builder.bytes();
}

constexpr int32_t kExportTableTdefPage = 2;
constexpr size_t kExportTableFirstDataPage = 6;

// Gives the fixture's table that name and the four columns the rows fill.
inline void ShapeExportTable(RecordFixture& fixture, const std::string& name) {
  analysis::Table& table = fixture.table;
  table.name = name;
  table.tdefPage = kExportTableTdefPage;
  table.maxColumns = 4;
  analysis::Column amount = FixedColumn("amount", records::kTypeNumeric, 2, 4, 17);
  amount.precision = 18;
  amount.scale = 2;
  table.columns = {FixedColumn("id", records::kTypeLong, 0, 0, 4), FixedColumn("flag", records::kTypeBit, 1, 4, 0),
                   amount, VariableColumn("note", records::kTypeText, 3, 0, 100)};
  fixture.channel().setUnattended(true);
}

// Opens the fixture on a file whose one data page of the table holds the rows (entry flags
// included), adding that page to the table's data pages.
inline void OpenWithExportRows(RecordFixture& fixture, const std::vector<ExportRow>& rows) {
  FileBuilder file = FileBuilder::Jet4Start(kExportTableFirstDataPage);
  PageBuilder page = PageBuilder::DataPage(kExportTableTdefPage);
  for (const auto& row : rows) page.addRow(ExportRowBytes(row), row.entryFlags);
  fixture.table.dataPages.push_back(static_cast<int32_t>(file.pageCount()));
  file.appendPage(page.page());
  fixture.open(file);
}

}  // namespace testsupport
