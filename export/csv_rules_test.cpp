// CSV text rules: field cleaning, the written form of each value by column type, quoting of
// values with commas, and the schema lines.
#include "export/csv_rules.h"

#include <gtest/gtest.h>

#include "records/type_names.h"

namespace {

using analysis::Column;

Column column(int type, int columnNumber = 1, const std::string& name = "C") {
  Column c;
  c.type = type;
  c.columnNumber = columnNumber;
  c.name = name;
  return c;
}

TEST(CsvRulesTest, CleanFieldText) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"  padded \t\r\n", "padded"},
      {"say \"hi\"", "say ;hi;"},
      {"it's", "it`s"},
      {"C:\\dir\\file", "C:\\\\dir\\\\file"},
      {"two\nlines\r\nhere", "two;lines;;here"},
      {"a, b", "a, b"},
      {"", ""},
      {" \n ", ""},
      {"caf\xC3\xA9 \xC2\xA0", "caf\xC3\xA9 \xC2\xA0"},  // non-ASCII bytes are never white space
  };
  for (const auto& c : cases) {
    std::string text = c.in;
    exporter::CleanFieldText(text);
    EXPECT_EQ(text, c.out) << "input: " << c.in;
  }
}

TEST(CsvRulesTest, ValueByColumnType) {
  auto noPlacer = exporter::ObjectPlacer();
  auto placer = [](const std::string& file) { return file == "/tmp/ole/Ole3.bmp" ? "Objects/Ole3.bmp" : ""; };
  struct Case {
    const char* name;
    Column column;
    const char* decoded;
    const char* written;
  };
  const Case cases[] = {
      {"null text", column(records::kTypeText), "NULL", ""},
      {"null long", column(records::kTypeLong), "NULL", ""},
      {"bit set", column(records::kTypeBit), "1", "Yes"},
      {"bit clear", column(records::kTypeBit), "0", "No"},
      {"binary", column(records::kTypeBinary), "0a0b", " "},
      {"numeric keeps its padding", column(records::kTypeNumeric), "0000000000000000.42", "0000000000000000.42"},
      {"text with quote, apostrophe, backslash", column(records::kTypeText), "O'Neil \"x\" a\\b", "O`Neil ;x; a\\\\b"},
      {"text with comma, unquoted here", column(records::kTypeText), "Smith, John", "Smith, John"},
      {"ole placed", column(records::kTypeOle), "/tmp/ole/Ole3.bmp", "?{file 'Objects/Ole3.bmp'}"},
      {"ole not placed", column(records::kTypeOle), "/gone/Ole9.ole", "?{file '/gone/Ole9.ole'}"},
      {"memo trimmed", column(records::kTypeMemo), "  line one\nline two  ", "line one;line two"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(exporter::CsvValueText(c.column, c.decoded, placer), c.written) << c.name;
  }
  EXPECT_EQ(exporter::CsvValueText(column(records::kTypeOle), "/x/Ole1.ole", noPlacer), "?{file '/x/Ole1.ole'}");
}

TEST(CsvRulesTest, LinesQuoteFieldsWithCommas) {
  EXPECT_EQ(exporter::CsvLine({"1", "Smith, John", "", " ", "x"}), "1, \"Smith, John\", ,  , x\n");
  EXPECT_EQ(exporter::CsvQuoted("say \"hi\", then"), "\"say \"\"hi\"\", then\"");
  EXPECT_EQ(exporter::CsvQuoted("no comma"), "no comma");
  EXPECT_EQ(exporter::CsvLine({}), "\n");
}

TEST(CsvRulesTest, SchemaLines) {
  struct Case {
    Column column;
    const char* line;
  };
  const Case cases[] = {
      {column(records::kTypeBit, 1, "Flag"), "Flag,BIT,\n"},
      {column(records::kTypeLong, 0, "ID"), "ID,COUNTER,\n"},
      {column(records::kTypeLong, 2, "Qty"), "Qty,LONG,\n"},
      {column(records::kTypeNumeric, 3, "Amount"), "Amount,LONG,\n"},
      {column(records::kTypeOle, 4, "Pic"), "Pic,OLEOBJECT,\n"},
      {column(records::kTypeGuid, 5, "G"), "G,GUID,\n"},
      {column(records::kTypeAttachment, 6, "Files"), "Files,UNKNOWN-DATATYPE,\n"},
      {column(99, 7, "Odd"), "Odd,UNKNOWN-DATATYPE,\n"},
      {column(records::kTypeText, 8, "Last, First"), "\"Last, First\",TEXT,\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(exporter::CsvSchemaLine(c.column), c.line);
}

}  // namespace
