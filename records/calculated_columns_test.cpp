// Calculated columns built from their documented layout (no file of the corpus has one): the
// property blob that names the expression and result type, and rows whose values carry the
// 20-byte prefix before the stored result.
#include "records/calculated_columns.h"

#include <gtest/gtest.h>

#include "records/row_decoder.h"
#include "records/type_names.h"
#include "tests/support/record_fixture.h"

namespace {

using namespace testsupport;

std::vector<uint8_t> cat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct Entry {
  uint16_t nameIndex;
  uint8_t type;
  std::vector<uint8_t> data;
};

// "MR2\0", a name table, then one chunk per column.
std::vector<uint8_t> propertyBlob(const std::vector<std::string>& names,
                                  const std::vector<std::pair<std::string, std::vector<Entry>>>& columns) {
  std::vector<uint8_t> nameTable;
  for (const auto& name : names)
    nameTable = cat(cat(nameTable, Le16(static_cast<uint16_t>(2 * name.size()))), Utf16(name));
  std::vector<uint8_t> blob = {'M', 'R', '2', 0};
  blob = cat(cat(cat(blob, Le32(static_cast<uint32_t>(6 + nameTable.size()))), Le16(0x80)), nameTable);
  for (const auto& [column, entries] : columns) {
    const std::vector<uint8_t> name = Utf16(column);
    std::vector<uint8_t> body =
        cat(cat(Le32(static_cast<uint32_t>(6 + name.size())), Le16(static_cast<uint16_t>(name.size()))), name);
    for (const auto& e : entries) {
      std::vector<uint8_t> entry = cat(Le16(static_cast<uint16_t>(8 + e.data.size())), {0, e.type});
      entry = cat(cat(cat(entry, Le16(e.nameIndex)), Le16(static_cast<uint16_t>(e.data.size()))), e.data);
      body = cat(body, entry);
    }
    blob = cat(cat(cat(blob, Le32(static_cast<uint32_t>(6 + body.size()))), Le16(0x01)), body);
  }
  return blob;
}

const std::vector<std::string> kNames = {"Format", "Expression", "ResultType"};

std::vector<uint8_t> calculatedColumnsBlob() {
  return propertyBlob(kNames, {{"LastFirst", {{1, 0x0C, Utf16("[LastName] & \", \" & [FirstName]")}, {2, 0x02, {10}}}},
                               {"IsRich", {{0, 0x0A, Utf16("Yes/No")}, {2, 0x02, {1}}}},
                               {"Salary", {{2, 0x02, {0}}}}});
}

// The value of a calculated column: 16 zero bytes, the result's length, the result, 3 zero bytes.
std::vector<uint8_t> calculated(const std::vector<uint8_t>& result) {
  return cat(cat(cat(std::vector<uint8_t>(16, 0), Le32(static_cast<uint32_t>(result.size()))), result), {0, 0, 0});
}

analysis::Column calculatedColumn(const std::string& name, int storedType, int number, int slot) {
  analysis::Column column = VariableColumn(name, storedType, number, slot, 39);
  column.extFlags = 0xC0;
  return column;
}

TEST(PropertyBlobTest, ExpressionAndResultTypePerColumn) {
  const std::vector<uint8_t> blob = calculatedColumnsBlob();
  records::PropertyBlob properties;
  ASSERT_TRUE(records::ParsePropertyBlob(support::ByteView(blob), properties));
  analysis::Table table;
  table.columns = {calculatedColumn("LastFirst", records::kTypeMemo, 0, 0),
                   calculatedColumn("IsRich", records::kTypeInt, 1, 1),
                   VariableColumn("Salary", records::kTypeCurrency, 2, 2)};
  records::ApplyCalculatedProperties(properties, table);
  EXPECT_EQ(table.columns[0].type, records::kTypeText);
  EXPECT_EQ(table.columns[0].expression, "[LastName] & \", \" & [FirstName]");
  EXPECT_EQ(table.columns[1].type, records::kTypeBit);
  EXPECT_EQ(table.columns[1].expression, "");
  EXPECT_EQ(table.columns[2].type, records::kTypeCurrency);  // not calculated: untouched
}

TEST(PropertyBlobTest, DamagedBlobsEndCleanly) {
  const std::vector<uint8_t> blob = calculatedColumnsBlob();
  for (size_t length = 0; length < blob.size(); ++length) {
    records::PropertyBlob properties;
    records::ParsePropertyBlob(support::ByteView(blob.data(), length), properties);
  }
  std::vector<uint8_t> badIndex = propertyBlob(kNames, {{"A", {{77, 0x02, {10}}}}});
  std::vector<uint8_t> overlong = propertyBlob(kNames, {{"A", {{2, 0x02, {10}}}}});
  overlong[overlong.size() - 9] = 0xFF;  // the entry's length runs past its chunk
  std::vector<uint8_t> zeroChunk = {'M', 'R', '2', 0, 0, 0, 0, 0, 0x80, 0};
  const std::vector<uint8_t> notABlob = {'K', 'K', 'D', 0};
  for (const auto* bytes : {&badIndex, &overlong, &zeroChunk}) {
    records::PropertyBlob properties;
    EXPECT_TRUE(records::ParsePropertyBlob(support::ByteView(*bytes), properties));
    EXPECT_EQ(properties.find("A", "ResultType"), nullptr);
  }
  records::PropertyBlob properties;
  EXPECT_FALSE(records::ParsePropertyBlob(support::ByteView(notABlob), properties));
}

TEST(CalculatedColumnsTest, StoredResultsByResultType) {
  const std::vector<uint8_t> numeric = {0x0e, 0x00, 0x0a, 0x00, 0,    0,    0,    0,
                                        0xec, 0x04, 0xb0, 0x1f, 0xe7, 0xae, 0x00, 0x00};
  std::vector<uint8_t> negativeNumeric = numeric;
  negativeNumeric[3] = 0x80;
  struct Case {
    const char* what;
    int resultType;
    std::vector<uint8_t> result;
    const char* text;
  } cases[] = {
      {"compressed text", records::kTypeText,
       cat({0xFF, 0xFE}, std::vector<uint8_t>{'W', 'a', 'y', 'n', 'e', ',', ' ', 'B', 'r', 'u', 'c', 'e'}),
       "Wayne, Bruce"},
      {"long", records::kTypeLong, Le32(12), "12"},
      {"currency", records::kTypeCurrency, Le64(833333333), "83333.3333"},
      {"boolean true", records::kTypeBit, {0xFF}, "1"},
      {"boolean false", records::kTypeBit, {0x00}, "0"},
      {"double", records::kTypeDouble, DoubleBytes(0.5), "0.500000000000000"},
      {"numeric", records::kTypeNumeric, numeric, "19230.7692307692"},
      {"negative numeric", records::kTypeNumeric, negativeNumeric, "-19230.7692307692"},
      {"null result", records::kTypeLong, {}, "NULL"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RecordFixture fixture;
    fixture.table.maxColumns = 2;
    analysis::Column column = calculatedColumn("calc", c.resultType, 1, 0);
    fixture.table.columns = {FixedColumn("id", records::kTypeLong, 0, 0, 4), column};
    RowBuilder row(2, 4);
    row.fixed(0, 0, Le32(1)).variable(1, calculated(c.result));
    std::string text;
    ASSERT_EQ(fixture.decodeAlone(row.bytes(), text), 2);
    EXPECT_EQ(text, std::string("1") + records::kFieldSeparator + c.text + records::kFieldSeparator);
  }
}

TEST(CalculatedColumnsTest, DamagedPrefixGivesNoResult) {
  const std::vector<uint8_t> overlong = cat(cat(std::vector<uint8_t>(16, 0), Le32(500)), {1, 2, 3});
  const std::vector<uint8_t> shortValue(10, 0);
  EXPECT_TRUE(records::CalculatedResult(support::ByteView(overlong)).empty());
  EXPECT_TRUE(records::CalculatedResult(support::ByteView(shortValue)).empty());
  support::NumericValue numeric;
  EXPECT_FALSE(records::DecodeCalculatedNumeric(support::ByteView(shortValue), numeric));
}

}  // namespace
