// CSV text rules: quoting, the written form of each value kind, and the schema lines.
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

// Texts go into a field unchanged; the field is quoted exactly where a reader needs it.
TEST(CsvRulesTest, TextFields) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"  padded \t\r\n", "\"  padded \t\r\n\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"it's", "it's"},
      {"C:\\dir\\file", "C:\\dir\\file"},
      {"two\nlines\r\nhere", "\"two\nlines\r\nhere\""},
      {"a, b", "\"a, b\""},
      {"", "\"\""},
      {" ", "\" \""},
      {"NULL", "NULL"},
      {"caf\xC3\xA9 \xC2\xA0", "caf\xC3\xA9 \xC2\xA0"},  // non-ASCII bytes are never blanks
  };
  for (const auto& c : cases) {
    std::string line = "x,";
    exporter::AppendCsvText(c.in, line);
    EXPECT_EQ(line, std::string("x,") + c.out) << "input: " << c.in;
  }
}

support::Value typed(support::ValueKind kind, int64_t integer = 0, double real = 0, std::string text = {},
                     std::vector<uint8_t> bytes = {}) {
  support::Value value;
  value.kind = kind;
  value.integer = integer;
  value.real = real;
  value.text = std::move(text);
  value.bytes = std::move(bytes);
  return value;
}

TEST(CsvRulesTest, ValueByKind) {
  using support::ValueKind;
  support::Value numeric = typed(ValueKind::kNumeric);
  numeric.numeric = {true, 18, 2, "42"};
  struct Case {
    const char* name;
    Column column;
    support::Value value;
    const char* written;
  };
  const Case cases[] = {
      {"null text", column(records::kTypeText), typed(ValueKind::kNull), ""},
      {"null long", column(records::kTypeLong), typed(ValueKind::kNull), ""},
      {"empty text", column(records::kTypeText), typed(ValueKind::kText), "\"\""},
      {"text NULL stays a text", column(records::kTypeText), typed(ValueKind::kText, 0, 0, "NULL"), "NULL"},
      {"bit set", column(records::kTypeBit), typed(ValueKind::kBoolean, 1), "Yes"},
      {"bit clear", column(records::kTypeBit), typed(ValueKind::kBoolean, 0), "No"},
      {"binary as hex", column(records::kTypeBinary), typed(ValueKind::kBinary, 0, 0, {}, {0x0a, 0x0b}), "0a0b"},
      {"empty binary", column(records::kTypeBinary), typed(ValueKind::kBinary), "\"\""},
      {"ole as the hex of its stored bytes", column(records::kTypeOle),
       typed(ValueKind::kLongBinary, 0, 0, {}, {0x15, 0x1c, 0xff}), "151cff"},
      {"numeric keeps its padding", column(records::kTypeNumeric), numeric, "-0000000000000000.42"},
      {"currency", column(records::kTypeCurrency), typed(ValueKind::kCurrency, -123456), "-12.3456"},
      {"long", column(records::kTypeLong), typed(ValueKind::kInt32, -7), "-7"},
      {"double reads back", column(records::kTypeDouble), typed(ValueKind::kDouble, 0, -1.23456789012345),
       "-1.23456789012345"},
      {"double 0.1", column(records::kTypeDouble), typed(ValueKind::kDouble, 0, 0.1), "0.1"},
      {"double large", column(records::kTypeDouble), typed(ValueKind::kDouble, 0, 1e300), "1e+300"},
      {"single reads back as the same float", column(records::kTypeSingle),
       typed(ValueKind::kSingle, 0, static_cast<float>(-1.2e-5f)), "-1.2e-05"},
      {"date", column(records::kTypeDate), typed(ValueKind::kDate, 0, 36526.5), "01/01/2000 12:00:00"},
      {"date with a fraction of a second", column(records::kTypeDate),
       typed(ValueKind::kDate, 0, 36526.5 + 0.25 / 86400), "01/01/2000 12:00:00.25"},
      {"date outside the calendar", column(records::kTypeDate), typed(ValueKind::kDate, 0, 1e7), "1e+07"},
      {"text with quote, apostrophe, backslash", column(records::kTypeText),
       typed(ValueKind::kText, 0, 0, "O'Neil \"x\" a\\b"), "\"O'Neil \"\"x\"\" a\\b\""},
      {"memo with line breaks and blank ends", column(records::kTypeMemo),
       typed(ValueKind::kText, 0, 0, "  line one\nline two  "), "\"  line one\nline two  \""},
      {"attachment key whose files are not found: the stored key", column(records::kTypeAttachment),
       typed(ValueKind::kBinary, 0, 0, {}, {5, 0, 0, 0}), "05000000"},
  };
  for (const auto& c : cases) {
    std::string line;
    exporter::AppendCsvValue(c.column, c.value, line);
    EXPECT_EQ(line, c.written) << c.name;
  }
}

TEST(CsvRulesTest, LinesQuoteFieldsThatNeedIt) {
  EXPECT_EQ(exporter::CsvLine({"1", "Smith, John", "", " ", "x"}), "1,\"Smith, John\",\"\",\" \",x\n");
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
