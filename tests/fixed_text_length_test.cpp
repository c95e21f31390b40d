// A fixed-length text column, from its definition to its values: the length is the whole 16-bit
// field of the descriptor, so a value as long as the column comes back complete.
#include <gtest/gtest.h>

#include "analysis/mdb_recovery.h"
#include "records/row_decoder.h"
#include "tests/support/definition_builder.h"
#include "tests/support/record_fixture.h"

namespace {

using namespace testsupport;

// length bytes of UTF-16LE: the characters "A".."Z" over and over.
std::vector<uint8_t> textOfBytes(int length, std::string& characters) {
  characters.clear();
  for (int i = 0; i < length / 2; ++i) characters += static_cast<char>('A' + i % 26);
  return Utf16(characters);
}

TEST(FixedTextLengthTest, AValueAsLongAsItsColumnComesBackWhole) {
  for (int length : {20, 254, 256, 400, 510}) {
    SCOPED_TRACE(length);
    ColumnSpec id = Col(4, 0, "ID", 4);
    id.fixed = true;
    ColumnSpec code = Col(10, 1, "Code", static_cast<uint16_t>(length));
    code.fixed = true;
    code.fixedOffset = 4;

    RecordFixture fixture;
    fixture.recovery().format = analysis::kStorageFormat4;
    fixture.recovery().layout = analysis::Jet4Layout();
    analysis::Table& table = fixture.table;
    ASSERT_EQ(fixture.recovery().DecodeTableDefinition(DefinitionBuilder().column(id).column(code).bytes(), table), 1);
    ASSERT_EQ(table.columns.size(), 2u);
    EXPECT_EQ(table.columns[1].length, length);
    table.maxColumns = 2;

    std::string characters;
    RowBuilder row(2, 4 + length);
    row.fixed(0, 0, Le32(7)).fixed(1, 4, textOfBytes(length, characters));
    PageBuilder page = PageBuilder::DataPage(2);
    page.addRow(row.bytes());
    fixture.loadPage(page.page());
    fixture.prepareFields();
    std::string text;
    const int64_t start = kTestPageSize - static_cast<int64_t>(row.bytes().size());
    ASSERT_EQ(records::DecodeRow(fixture.recovery(), table, start, kTestPageSize - 1, text), 2);
    EXPECT_EQ(text, "7" + std::string(records::kFieldSeparator) + characters + records::kFieldSeparator);
  }
}

}  // namespace
