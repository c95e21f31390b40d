// Decoding of assembled table definitions: descriptors, names and data pages, and definitions
// broken in every way a damaged file breaks them.
#include <gtest/gtest.h>

#include <functional>

#include "analysis/mdb_recovery.h"
#include "analysis/table_indexes.h"
#include "tests/support/definition_builder.h"
#include "tests/support/page_builder.h"

namespace {

using analysis::Column;
using analysis::Table;
using testsupport::Col;
using testsupport::ColumnSpec;
using testsupport::DefinitionBuilder;
using testsupport::Utf16;

class TableDefinitionTest : public ::testing::Test {
 protected:
  TableDefinitionTest() {
    recovery.format = analysis::kStorageFormat4;
    recovery.layout = analysis::Jet4Layout();
    analysis::g_pageMap.clear();
  }
  ~TableDefinitionTest() override { analysis::g_pageMap.clear(); }

  int decode(const std::vector<uint8_t>& definition, Table& table) {
    return recovery.DecodeTableDefinition(definition, table);
  }

  analysis::ProgressChannel channel;
  analysis::MdbRecovery recovery{channel};
};

std::vector<uint8_t> utf16Units(const std::vector<uint16_t>& units) {
  std::vector<uint8_t> out;
  for (uint16_t unit : units) {
    out.push_back(unit & 0xFF);
    out.push_back(unit >> 8);
  }
  return out;
}

TEST_F(TableDefinitionTest, HeaderAndDescriptorFieldsDecode) {
  ColumnSpec numeric = Col(16, 3, "Amount", 17);
  numeric.precision = 18;
  numeric.scale = 4;
  numeric.fixed = true;
  numeric.fixedOffset = 12;
  numeric.rowColumnNumber = 7;
  ColumnSpec text = Col(10, 1, "Name", 100);
  text.variableIndex = 2;
  ColumnSpec notNumeric = Col(4, 0, "ID", 4);
  notNumeric.precision = 9;  // bytes 11 and 12 mean something else outside NUMERIC
  notNumeric.scale = 9;
  notNumeric.fixed = true;
  notNumeric.autoNumber = true;
  Table table;
  ASSERT_EQ(decode(DefinitionBuilder().rows(42).tableType(0x4E).column(numeric).column(text).column(notNumeric).bytes(),
                   table),
            1);
  EXPECT_EQ(table.rowCount, 42u);
  EXPECT_EQ(table.type, 0x4E);
  EXPECT_EQ(table.maxColumns, 3u);
  EXPECT_EQ(table.variableColumnCount, 1u);
  EXPECT_EQ(table.columnCount, 3u);
  ASSERT_EQ(table.columns.size(), 3u);
  const Column& amount = table.columns[0];
  EXPECT_EQ(amount.name, "Amount");
  EXPECT_EQ(amount.type, 16);
  EXPECT_EQ(amount.columnNumber, 3);
  EXPECT_EQ(amount.rowColumnNumber, 7);
  EXPECT_EQ(amount.precision, 18);
  EXPECT_EQ(amount.scale, 4);
  EXPECT_TRUE(amount.isFixed);
  EXPECT_EQ(amount.fixedOffset, 12);
  EXPECT_EQ(amount.length, 17);
  EXPECT_EQ(table.columns[1].variableIndex, 2);
  EXPECT_FALSE(table.columns[1].isFixed);
  EXPECT_EQ(table.columns[2].precision, 0);
  EXPECT_EQ(table.columns[2].scale, 0);
  EXPECT_TRUE(table.columns[2].isAutoNumber);
  EXPECT_FALSE(amount.isAutoNumber);
  EXPECT_FALSE(table.columns[1].isAutoNumber);
}

TEST_F(TableDefinitionTest, DescriptorsFollowTheRealIndexBlocks) {
  for (uint32_t realIndexes : {0u, 1u, 2u, 5u}) {
    const auto definition = DefinitionBuilder().realIndexes(realIndexes).column(Col(4, 0, "ID", 4)).bytes();
    const size_t first = 63 + 12 * realIndexes;
    ASSERT_EQ(definition[first], 4) << realIndexes;  // the builder put the descriptor there
    Table table;
    ASSERT_EQ(decode(definition, table), 1);
    EXPECT_EQ(table.columns.at(0).name, "ID") << realIndexes;
  }
  EXPECT_EQ(63 + 12 * 2, 87);
}

TEST_F(TableDefinitionTest, LengthsAreTheWhole16BitField) {
  struct Case {
    uint8_t type;
    uint16_t stored;
    int32_t expected;
  } cases[] = {{10, 510, 510}, {10, 300, 300},     {10, 256, 256}, {10, 255, 255},
               {10, 100, 100}, {10, 65535, 65535}, {12, 510, 510}, {9, 510, 510}};
  for (const Case& c : cases) {
    Table table;
    ASSERT_EQ(decode(DefinitionBuilder().column(Col(c.type, 0, "X", c.stored)).bytes(), table), 1);
    EXPECT_EQ(table.columns[0].length, c.expected) << int(c.type) << " " << c.stored;
  }
}

TEST_F(TableDefinitionTest, NamesAreDecodedFromUtf16AndCleanedPerCharacter) {
  struct Case {
    const char* what;
    std::vector<uint8_t> stored;
    std::string expected;
  } cases[] = {
      {"plain", Utf16("Customer ID"), "Customer ID"},
      {"accented letter", utf16Units({'C', 'a', 'f', 0xE9}), "Caf\xC3\xA9"},
      {"no-break space stays", utf16Units({'a', 0xA0, 'b'}),
       "a\xC2\xA0"
       "b"},
      {"control and delete", utf16Units({'a', 0x09, 'b', 0x7F}), "a_b_"},
      {"second control set", utf16Units({'a', 0x80, 0x9F, 'b'}), "a__b"},
      {"Cyrillic", utf16Units({0x0418, 0x043C, 0x044F}), "\xD0\x98\xD0\xBC\xD1\x8F"},
      {"CJK", utf16Units({0x540D, 0x79F0}), "\xE5\x90\x8D\xE7\xA7\xB0"},
      {"Vietnamese", utf16Units({'T', 0x00EA, 'n', ' ', 'h', 0x00E0, 'n', 'g'}), "T\xC3\xAAn h\xC3\xA0ng"},
      {"surrogate pair is one character", utf16Units({'x', 0xD83D, 0xDE00, 'y'}), "x\xF0\x9F\x98\x80y"},
      {"unpaired surrogate", utf16Units({'x', 0xDC00}), "x_"},
      {"zero units are padding", utf16Units({'a', 0, 'b'}), "ab"},
      {"odd trailing byte", {'a', 0, 'b'}, "a"},
  };
  for (const auto& c : cases) {
    ColumnSpec column = Col(10, 0, "", 10);
    column.storedName = c.stored;
    Table table;
    ASSERT_EQ(decode(DefinitionBuilder().column(column).bytes(), table), 1) << c.what;
    EXPECT_EQ(table.columns[0].name, c.expected) << c.what;
  }
}

TEST_F(TableDefinitionTest, LongNamesAreCutAt259BytesOnACharacterBoundary) {
  struct Case {
    std::vector<uint8_t> stored;
    size_t expectedBytes;
  } cases[] = {
      {Utf16(std::string(300, 'n')), 259},
      {Utf16(std::string(259, 'n')), 259},
      {utf16Units(std::vector<uint16_t>(130, 0xA0)), 258},  // two bytes each: 259 would split one
  };
  for (const auto& c : cases) {
    ColumnSpec column = Col(10, 0, "", 10);
    column.storedName = c.stored;
    Table table;
    ASSERT_EQ(decode(DefinitionBuilder().column(column).column(Col(4, 1, "Next", 4)).bytes(), table), 1);
    EXPECT_EQ(table.columns[0].name.size(), c.expectedBytes);
    EXPECT_EQ(table.columns[1].name, "Next");
  }
}

TEST_F(TableDefinitionTest, UnnamedColumnsAreNumberedPerTable) {
  const auto definition =
      DefinitionBuilder().column(Col(4, 0, "", 4)).column(Col(10, 1, "Name", 10)).column(Col(4, 2, "", 4)).bytes();
  for (int run = 0; run < 2; ++run) {
    Table table;
    ASSERT_EQ(decode(definition, table), 1);
    EXPECT_EQ(table.columns[0].name, "Recovered Column 1");
    EXPECT_EQ(table.columns[1].name, "Name");
    EXPECT_EQ(table.columns[2].name, "Recovered Column 2");
  }
}

TEST_F(TableDefinitionTest, NamesThatStillCollideAreMadeUnique) {
  struct Case {
    const char* what;
    std::vector<std::vector<uint8_t>> stored;
    std::vector<std::string> expected;
  } cases[] = {
      {"distinct non-Latin names stay apart",
       {utf16Units({0x0418, 0x043C, 0x044F}), utf16Units({0x041F, 0x043E, 0x043B})},
       {"\xD0\x98\xD0\xBC\xD1\x8F", "\xD0\x9F\xD0\xBE\xD0\xBB"}},
      {"controls cleaned to one name",
       {utf16Units({'a', 0x09}), utf16Units({'a', 0x0A}), utf16Units({'a', 0x0D})},
       {"a_", "a_ (2)", "a_ (3)"}},
      {"case does not tell names apart", {Utf16("Name"), Utf16("NAME")}, {"Name", "NAME (2)"}},
      {"a suffix already taken", {Utf16("a"), Utf16("a (2)"), Utf16("a")}, {"a", "a (2)", "a (3)"}},
      {"an unnamed column beside its number",
       {Utf16("Recovered Column 1"), {}},
       {"Recovered Column 1", "Recovered Column 1 (2)"}},
      {"a full-length name keeps its suffix",
       {Utf16(std::string(300, 'n')), Utf16(std::string(300, 'n'))},
       {std::string(259, 'n'), std::string(255, 'n') + " (2)"}},
  };
  for (const auto& c : cases) {
    DefinitionBuilder builder;
    for (size_t i = 0; i < c.stored.size(); ++i) {
      ColumnSpec column = Col(10, static_cast<uint16_t>(i), "", 10);
      column.storedName = c.stored[i];
      builder.column(column);
    }
    Table table;
    ASSERT_EQ(decode(builder.bytes(), table), 1) << c.what;
    std::vector<std::string> names;
    for (const Column& column : table.columns) names.push_back(column.name);
    EXPECT_EQ(names, c.expected) << c.what;
  }
}

TEST_F(TableDefinitionTest, DataPagesAreTheTableOwnedDataPagesInMapOrder) {
  struct Entry {
    uint32_t number;
    int16_t type;
    int32_t owner;
  } entries[] = {{12, 1, 7}, {3, 1, 8}, {9, 1, 7}, {10, 2, 7}, {11, 4, 7}, {13, 1, 7}};
  for (const auto& e : entries) {
    analysis::PageMetaData page;
    page.pageNumber = e.number;
    page.pageType = e.type;
    page.owner = e.owner;
    analysis::g_pageMap.push_back(page);
  }
  Table table;
  table.tdefPage = 7;
  ASSERT_EQ(decode(DefinitionBuilder().column(Col(4, 0, "ID", 4)).bytes(), table), 1);
  EXPECT_EQ(table.dataPages, (std::vector<int32_t>{12, 9, 13}));
}

TEST_F(TableDefinitionTest, UnusableDefinitionsAreRefused) {
  auto withRealIndexCount = [](uint32_t count) {
    auto definition = DefinitionBuilder().column(Col(4, 0, "ID", 4)).bytes();
    definition.resize(4096, 0);
    for (int i = 0; i < 4; ++i) definition[51 + i] = (count >> (8 * i)) & 0xFF;
    return definition;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> definition;
  } cases[] = {
      {"no columns", DefinitionBuilder().bytes()},
      {"empty buffer", {}},
      {"descriptors start past the first page", withRealIndexCount(337)},
      {"negative real index count", withRealIndexCount(0xFFFFFFFF)},
      {"huge real index count", withRealIndexCount(0x7FFFFFFF)},
      {"descriptor past the buffer", withRealIndexCount(336)},
  };
  for (const auto& c : cases) {
    Table table;
    EXPECT_EQ(decode(c.definition, table), 0) << c.what;
    EXPECT_TRUE(table.columns.empty()) << c.what;
  }
}

TEST_F(TableDefinitionTest, ColumnEntriesNeedTheDetectedFormatAndAWholeDescriptor) {
  const auto definition = DefinitionBuilder().column(Col(4, 0, "ID", 4)).bytes();
  Table table;
  EXPECT_EQ(recovery.DecodeColumnEntry(definition, table, 63), 1);
  EXPECT_EQ(recovery.DecodeColumnEntry(definition, table, -1), -1);
  EXPECT_EQ(recovery.DecodeColumnEntry(definition, table, static_cast<int32_t>(definition.size()) - 24), -1);
  recovery.format = 0;
  EXPECT_EQ(recovery.DecodeColumnEntry(definition, table, 63), -1);
  EXPECT_EQ(table.columns.size(), 1u);
}

// Corrupt it: every cut of a valid definition, counts beyond the buffer and name lengths that
// run past it must end in a clean result.
TEST_F(TableDefinitionTest, TruncatedDefinitionsEndCleanly) {
  DefinitionBuilder builder;
  builder.realIndexes(1);
  for (uint16_t i = 0; i < 6; ++i) builder.column(Col(10, i, "column" + std::to_string(i), 20));
  const auto whole = builder.bytes();
  for (size_t length = 0; length <= whole.size(); ++length) {
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    Table table;
    const int result = decode(cut, table);
    ASSERT_TRUE(result == 0 || result == 1) << length;
    EXPECT_LE(table.columns.size(), 6u);
    EXPECT_EQ(table.columnCount, result == 1 ? table.columns.size() : table.columnCount);
    for (size_t i = 0; i < table.columns.size(); ++i) {
      EXPECT_FALSE(table.columns[i].name.empty());
      const std::string full = "column" + std::to_string(i);
      // A name is whole, cut at the end of the buffer, or absent and numbered.
      EXPECT_TRUE(full.rfind(table.columns[i].name, 0) == 0 || table.columns[i].name.rfind("Recovered Column ", 0) == 0)
          << length << " " << table.columns[i].name;
    }
  }
}

TEST_F(TableDefinitionTest, CountsAndLengthsBeyondTheBufferEndCleanly) {
  {
    // A column count of 65535 in one page: only the descriptors that fit are decoded.
    auto definition = DefinitionBuilder().column(Col(4, 0, "ID", 4)).columnCount(0xFFFF).bytes();
    definition.resize(4096, 0);
    Table table;
    ASSERT_EQ(decode(definition, table), 1);
    EXPECT_EQ(table.columns.size(), (4096u - 63u) / 25u);
    EXPECT_EQ(table.columnCount, table.columns.size());
    EXPECT_EQ(table.columns.back().name, "Recovered Column " + std::to_string(table.columns.size()));
  }
  {
    // Name lengths that point past the buffer: cut at its end, later names absent.
    auto definition = DefinitionBuilder().column(Col(10, 0, "Alpha", 10)).column(Col(10, 1, "Beta", 10)).bytes();
    const size_t names = 63 + 2 * 25;
    definition[names] = 0xFF;
    definition[names + 1] = 0xFF;
    Table table;
    ASSERT_EQ(decode(definition, table), 1);
    EXPECT_EQ(table.columns[0].name.rfind("Alpha", 0), 0u);
    EXPECT_LE(table.columns[0].name.size(), definition.size() / 2);
    EXPECT_EQ(table.columns[1].name, "Recovered Column 1");
  }
}

}  // namespace

namespace {

using testsupport::IndexSpec;

DefinitionBuilder ordersDefinition() {
  ColumnSpec id = Col(4, 0, "OrderId", 4);
  id.fixed = true;
  ColumnSpec line = Col(3, 2, "Line", 2);
  line.fixed = true;
  line.fixedOffset = 4;
  return DefinitionBuilder().column(Col(10, 1, "Note", 100)).column(id).column(line);
}

TEST_F(TableDefinitionTest, IndexesGiveNamesKeyColumnsAndThePrimaryKey) {
  const auto definition = ordersDefinition()
                              .index(IndexSpec{"ByNote", {1}})
                              .index(IndexSpec{"PrimaryKey", {0, 2}, 1, 0x81})
                              .index(IndexSpec{"Gone", {7}})  // a column the table does not have
                              .index(IndexSpec{"Shared", {}, 2, 0x80, 1})
                              .bytes();
  Table table;
  ASSERT_EQ(decode(definition, table), 1);
  ASSERT_EQ(table.indexes.size(), 3u);
  EXPECT_EQ(table.indexes[0].name, "ByNote");
  EXPECT_EQ(table.indexes[1].name, "PrimaryKey");
  EXPECT_EQ(table.indexes[1].columnNumbers, (std::vector<int32_t>{0, 2}));
  EXPECT_TRUE(table.indexes[1].unique);
  EXPECT_EQ(table.indexes[1].kind, analysis::TableIndex::kPrimaryKey);
  EXPECT_EQ(table.indexes[2].name, "Shared");  // a foreign key using the primary key's real index
  EXPECT_EQ(table.indexes[2].columnNumbers, (std::vector<int32_t>{0, 2}));
  // Positions follow the columns' order in the definition, not their numbers.
  EXPECT_EQ(analysis::PrimaryKeyColumns(table), (std::vector<size_t>{1, 2}));
}

TEST_F(TableDefinitionTest, DamagedIndexBlocksLeaveNoPrimaryKey) {
  const auto definition = ordersDefinition().index(IndexSpec{"PrimaryKey", {0, 2}, 1, 0x81}).bytes();
  const size_t realIndexStart = 63 + 12 + 3 * 25 + (2 + 8) + (2 + 14) + (2 + 8);
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
  };
  const Case cases[] = {
      {"cut inside the real index", [&](auto& d) { d.resize(realIndexStart + 20); }},
      {"cut inside the logical index", [&](auto& d) { d.resize(realIndexStart + 52 + 10); }},
      {"a key column repeated", [&](auto& d) { d[realIndexStart + 7] = 0; }},
      {"a real index number past the count", [&](auto& d) { d[realIndexStart + 52 + 8] = 5; }},
      {"a logical index count of 2^31", [&](auto& d) { d[50] = 0x80; }},
  };
  for (const Case& c : cases) {
    auto damaged = definition;
    c.damage(damaged);
    Table table;
    decode(damaged, table);
    EXPECT_TRUE(analysis::PrimaryKeyColumns(table).empty()) << c.what;
  }
  Table intact;
  ASSERT_EQ(decode(definition, intact), 1);
  EXPECT_EQ(analysis::PrimaryKeyColumns(intact).size(), 2u);
}

}  // namespace
