// Parsing CREATE TABLE and mapping type names to column storage.
#include "jet4/create_table_statement.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "engine/engine.h"
#include "format/text_codec.h"
#include "jet4/sql_scanner.h"

namespace jet4 {

namespace {
constexpr int kMaxColumns = 255;
constexpr int kMaxTextChars = 255;
constexpr int kMaxBinaryBytes = 510;
constexpr int kMaxPrecision = 28;
constexpr int kDefaultPrecision = 18;

[[noreturn]] void fail(const std::string& why) {
  throw engine::EngineError("CREATE TABLE: " + why);
}

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

ColumnDef fixedColumn(ColumnType type, uint16_t length) {
  ColumnDef c;
  c.type = type;
  c.length = length;
  c.flags = kColumnAlways | kColumnFixed;
  return c;
}

ColumnDef variableColumn(ColumnType type, uint16_t length) {
  ColumnDef c;
  c.type = type;
  c.length = length;
  c.flags = kColumnAlways;
  if (c.isText()) c.extFlags = kColumnCompressed;
  return c;
}

// Reads "(a)" or "(a, b)" when it follows; returns the count of numbers read.
int sizeArguments(SqlScanner& scan, int& first, int& second) {
  if (!scan.symbol('(')) return 0;
  if (!scan.number(first)) fail("size expected");
  int count = 1;
  if (scan.symbol(',')) {
    if (!scan.number(second)) fail("second size expected");
    count = 2;
  }
  if (!scan.symbol(')')) fail("\")\" expected after the size");
  return count;
}

ColumnDef columnOfType(const std::string& typeName, SqlScanner& scan) {
  int first = 0, second = 0;
  const int arguments = sizeArguments(scan, first, second);
  const std::string type = upper(typeName);
  const auto noArguments = [&] {
    if (arguments != 0) fail("type " + typeName + " takes no size");
  };
  if (type == "COUNTER") {
    noArguments();
    ColumnDef c = fixedColumn(ColumnType::kLong, 4);
    c.flags |= kColumnAutoNumber;
    return c;
  }
  if (type == "LONG") return noArguments(), fixedColumn(ColumnType::kLong, 4);
  if (type == "INT") return noArguments(), fixedColumn(ColumnType::kInt, 2);
  if (type == "BYTE") return noArguments(), fixedColumn(ColumnType::kByte, 1);
  if (type == "BIT") return noArguments(), fixedColumn(ColumnType::kBool, 1);
  if (type == "CURRENCY") return noArguments(), fixedColumn(ColumnType::kCurrency, 8);
  if (type == "SINGLE") return noArguments(), fixedColumn(ColumnType::kSingle, 4);
  if (type == "DOUBLE") return noArguments(), fixedColumn(ColumnType::kDouble, 8);
  if (type == "DATE") return noArguments(), fixedColumn(ColumnType::kDateTime, 8);
  if (type == "GUID") return noArguments(), fixedColumn(ColumnType::kGuid, 16);
  if (type == "MEMO") return noArguments(), variableColumn(ColumnType::kMemo, 0);
  if (type == "OLEOBJECT") return noArguments(), variableColumn(ColumnType::kOle, 0);
  if (type == "TEXT") {
    if (arguments == 2) fail("TEXT takes one size");
    const int chars = arguments == 1 ? first : kMaxTextChars;
    if (chars < 1 || chars > kMaxTextChars) fail("TEXT size out of range");
    return variableColumn(ColumnType::kText, static_cast<uint16_t>(2 * chars));
  }
  if (type == "BINARY") {
    if (arguments == 2) fail("BINARY takes one size");
    const int bytes = arguments == 1 ? first : kMaxBinaryBytes;
    if (bytes < 1 || bytes > kMaxBinaryBytes) fail("BINARY size out of range");
    return variableColumn(ColumnType::kBinary, static_cast<uint16_t>(bytes));
  }
  if (type == "NUMERIC") {
    const int precision = arguments >= 1 ? first : kDefaultPrecision;
    const int scale = arguments == 2 ? second : 0;
    if (precision < 1 || precision > kMaxPrecision || scale > precision)
      fail("NUMERIC precision or scale out of range");
    ColumnDef c = fixedColumn(ColumnType::kNumeric, 17);
    c.precision = static_cast<uint8_t>(precision);
    c.scale = static_cast<uint8_t>(scale);
    return c;
  }
  fail("unknown type " + typeName);
}

}  // namespace

TableDef ParseCreateTable(const std::string& statement) {
  SqlScanner scan(statement);
  TableDef table;
  if (!scan.keyword("CREATE") || !scan.keyword("TABLE")) fail("not a CREATE TABLE statement");
  if (!scan.name(table.name) || table.name.empty()) fail("table name expected");
  if (!scan.symbol('(')) fail("\"(\" expected");
  std::set<std::u16string> seen;
  do {
    ColumnDef column;
    std::string name, type;
    if (!scan.name(name) || name.empty()) fail("column name expected");
    if (!scan.word(type)) fail("type expected for column " + name);
    column = columnOfType(type, scan);
    column.name = name;
    if (!seen.insert(format::FoldedName(name)).second) fail("duplicate column " + name);
    table.columns.push_back(std::move(column));
    if (table.columns.size() > static_cast<size_t>(kMaxColumns)) fail("too many columns");
  } while (scan.symbol(','));
  if (!scan.symbol(')')) fail("\")\" expected");
  scan.symbol(';');
  if (!scan.atEnd()) fail("text after the statement");
  return table;
}

}  // namespace jet4
