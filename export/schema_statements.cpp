// Column sort and CREATE TABLE statements. The sort is a fixed quicksort: columns with equal
// column numbers (only seen in damaged definitions) end in the order it gives, so the record
// list and the export always meet them in the same order.
#include "export/schema_statements.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "analysis/model.h"
#include "records/extended_types.h"
#include "records/type_names.h"
#include "support/text.h"

namespace exporter {

namespace {
using analysis::Column;

constexpr int32_t kCappedTextLength = 255;
constexpr int32_t kMaxTextCharacters = 255;

// Partitions [lo, hi] around the column number of its middle record and returns where that
// record ends up.
int partition(std::vector<Column>& columns, int lo, int hi) {
  std::swap(columns[lo], columns[lo + (hi - lo) / 2]);
  const int32_t pivot = columns[lo].columnNumber;
  int i = lo + 1, j = hi;
  while (i <= j) {
    while (i <= hi && columns[i].columnNumber <= pivot) ++i;
    while (j >= lo && columns[j].columnNumber > pivot) --j;
    if (i < j) std::swap(columns[i], columns[j]);
  }
  std::swap(columns[lo], columns[j]);
  return j;
}

// The two parts are disjoint, so sorting the smaller one first by recursion and the larger
// one in the loop gives the same result with a stack depth that stays logarithmic.
void quickSort(std::vector<Column>& columns, int lo, int hi) {
  while (lo < hi) {
    const int j = partition(columns, lo, hi);
    if (j - lo < hi - j) {
      quickSort(columns, lo, j - 1);
      lo = j + 1;
    } else {
      quickSort(columns, j + 1, hi);
      hi = j - 1;
    }
  }
}

// A Jet 4 text column stores two bytes per character, so its byte length is twice the size a
// new database must be given. An odd 255 (no real text column has it; older analyses capped
// longer lengths there) and a lost length get the largest text size.
int32_t textCharacters(int32_t byteLength) {
  if (byteLength <= 0 || byteLength == kCappedTextLength) return kMaxTextCharacters;
  return std::min(kMaxTextCharacters, (byteLength + 1) / 2);
}

// An expression inside a comment: a "*/" in it must not end the comment.
std::string commentText(std::string text) {
  for (size_t at = text.find("*/"); at != std::string::npos; at = text.find("*/", at + 2)) text.insert(at + 1, " ");
  return text;
}

std::string columnEntry(const Column& column, StatementForm form, bool counter) {
  const std::string typeName = records::GetTypeName(column);
  std::string entry = "\r\n\t" + support::BracketedName(column.name) + " ";
  char size[48];
  if (typeName == "TEXT") {
    // As stored, the byte length; above 255 (now that the decoder keeps the whole field) the
    // statement gives the widest size, so it stays one the Access target executes.
    const int32_t length = form == StatementForm::kForNewDatabase ? textCharacters(column.length)
                                                                  : std::min(column.length, kMaxTextCharacters);
    std::snprintf(size, sizeof size, "(%d)", length);
    entry += typeName + size;
  } else if (column.type == records::kTypeNumeric) {
    // The type name of NUMERIC is "LONG", which would drop every decimal in a new database.
    std::snprintf(size, sizeof size, "NUMERIC(%d,%d)", column.precision, column.scale);
    entry += size;
  } else if (column.type == records::kTypeLong && form == StatementForm::kForNewDatabase) {
    entry += counter ? "COUNTER" : "LONG";
  } else if (form == StatementForm::kForNewDatabase && column.type == records::kTypeLargeNumber) {
    entry += "NUMERIC(19,0)";  // a Jet 4 database has no 64-bit integer; 19 digits hold every value
  } else if (form == StatementForm::kForNewDatabase && column.type == records::kTypeDateExtended) {
    std::snprintf(size, sizeof size, "TEXT(%d)", records::kExtendedDateIsoLength);  // ISO 8601, 7 fraction digits
    entry += size;
  } else if (form == StatementForm::kForNewDatabase && column.type == records::kTypeAttachment) {
    entry += "MEMO";  // the joined values; attachments' files go to a child table of their own
  } else {
    entry += typeName;
  }
  // The expression of a calculated column is kept beside it; a new database gets the stored
  // results as a plain column.
  if (form == StatementForm::kAsStored && !column.expression.empty())
    entry += " /* = " + commentText(column.expression) + " */";
  return entry;
}
}  // namespace

void SortTableColumns() {
  for (analysis::Table& table : analysis::g_tables)
    quickSort(table.columns, 0, static_cast<int>(table.columns.size()) - 1);
}

std::string CreateTableStatement(const analysis::Table& table, StatementForm form) {
  // A new database numbers a COUNTER itself, also where the source held NULL: only the column
  // that the definition flags as autonumber (a table has one) may become one.
  const auto counter = std::find_if(table.columns.begin(), table.columns.end(), [](const Column& column) {
    return column.type == records::kTypeLong && column.isAutoNumber;
  });
  std::string statement = "CREATE TABLE " + support::BracketedName(table.name) + " \r\n(";
  for (size_t i = 0; i < table.columns.size(); ++i) {
    if (i > 0) statement += ", ";
    const bool isCounter = counter != table.columns.end() && &*counter == &table.columns[i];
    statement += columnEntry(table.columns[i], form, isCounter);
  }
  statement += "\r\n);";
  return statement;
}

void BuildSchemaStatements() {
  for (analysis::Table& table : analysis::g_tables)
    table.createStatement = CreateTableStatement(table, StatementForm::kAsStored);
}

}  // namespace exporter
