// Declared types and bound values of the SQLite target.
#include "export/sqlite_values.h"

#include <sqlite3.h>

#include <cstdio>

#include "format/calendar.h"
#include "records/type_names.h"
#include "records/value_text.h"
#include "support/decimal_text.h"

namespace exporter {

namespace {
using support::ValueKind;

// "MM/DD/YYYY hh:mm:ss[.f]" rearranged as "YYYY-MM-DD hh:mm:ss[.f]".
std::string isoFromDisplay(const std::string& text) {
  if (text.size() < 19 || text[2] != '/') return {};
  return text.substr(6, 4) + "-" + text.substr(0, 2) + "-" + text.substr(3, 2) + text.substr(10);
}
}  // namespace

std::string SqliteDeclaredType(const analysis::Column& column) {
  switch (column.type) {
    case records::kTypeBit:
    case records::kTypeByte:
    case records::kTypeInt:
    case records::kTypeLong: return "INTEGER";
    case records::kTypeSingle:
    case records::kTypeDouble: return "REAL";
    case records::kTypeCurrency: return "DECIMAL TEXT(19,4)";
    case records::kTypeNumeric:
      return "DECIMAL TEXT(" + std::to_string(column.precision) + "," + std::to_string(column.scale) + ")";
    case records::kTypeDate: return "DATETIME";
    case records::kTypeText:
    case records::kTypeMemo:
    case records::kTypeGuid: return "TEXT";
    case records::kTypeBinary:
    case records::kTypeOle: return "BLOB";
    default: return {};
  }
}

std::string SqliteDateText(double days) {
  return isoFromDisplay(records::DateText(days, true));
}

std::string SqliteExtendedDateText(int64_t ticks) {
  constexpr int64_t kTicksPerSecond = 10000000;
  constexpr int64_t kTicksPerDay = 86400 * kTicksPerSecond;
  if (ticks < 0) return {};
  const format::CalendarDate date = format::DateFromDayNumber(ticks / kTicksPerDay);
  if (date.year > 9999) return {};
  const int64_t inDay = ticks % kTicksPerDay;
  const int64_t seconds = inDay / kTicksPerSecond;
  char out[64];
  std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d", static_cast<int>(date.year),
                static_cast<int>(date.month), static_cast<int>(date.day), static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  std::string text = out;
  if (const int64_t fraction = inDay % kTicksPerSecond) {
    std::snprintf(out, sizeof out, ".%07lld", static_cast<long long>(fraction));
    std::string digits = out;
    while (digits.back() == '0') digits.pop_back();
    text += digits;
  }
  return text;
}

int BindSqliteText(sqlite3_stmt* statement, int index, const std::string& text) {
  return sqlite3_bind_text64(statement, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

int BindSqliteBlob(sqlite3_stmt* statement, int index, const std::vector<uint8_t>& bytes) {
  // A null pointer would bind NULL: an empty value is bound as a zero-length blob.
  if (bytes.empty()) return sqlite3_bind_zeroblob(statement, index, 0);
  return sqlite3_bind_blob64(statement, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
}

int BindSqliteValue(sqlite3_stmt* statement, int index, const analysis::Column& column, const support::Value& value) {
  // A type with no value form of its own is kept as the text the record list shows.
  if (!records::HasValueForm(column.type) && column.type != records::kTypeBit && !value.isNull())
    return BindSqliteText(statement, index, records::ValueText(column, value));
  switch (value.kind) {
    case ValueKind::kNull: return sqlite3_bind_null(statement, index);
    case ValueKind::kBoolean:
    case ValueKind::kByte:
    case ValueKind::kInt16:
    case ValueKind::kInt32:
    case ValueKind::kInt64: return sqlite3_bind_int64(statement, index, value.integer);
    case ValueKind::kSingle:
    case ValueKind::kDouble: return sqlite3_bind_double(statement, index, value.real);
    case ValueKind::kCurrency: return BindSqliteText(statement, index, support::CurrencyDecimal(value.integer));
    case ValueKind::kNumeric: return BindSqliteText(statement, index, support::NumericDecimal(value.numeric));
    case ValueKind::kDate: {
      const std::string text = SqliteDateText(value.real);
      return text.empty() ? sqlite3_bind_double(statement, index, value.real) : BindSqliteText(statement, index, text);
    }
    case ValueKind::kDateExtended: {
      const std::string text = SqliteExtendedDateText(value.integer);
      return text.empty() ? sqlite3_bind_int64(statement, index, value.integer)
                          : BindSqliteText(statement, index, text);
    }
    case ValueKind::kText: return BindSqliteText(statement, index, value.text);
    case ValueKind::kBinary:
    case ValueKind::kLongBinary: return BindSqliteBlob(statement, index, value.bytes);
    case ValueKind::kGuid: {
      if (value.bytes.size() != 16) return sqlite3_bind_null(statement, index);
      std::string text;
      records::AppendGuidText(value.bytes.data(), text);
      return BindSqliteText(statement, index, text);
    }
    case ValueKind::kList:
    case ValueKind::kAttachments: return BindSqliteText(statement, index, records::ValueText(column, value));
  }
  return sqlite3_bind_null(statement, index);
}

}  // namespace exporter
