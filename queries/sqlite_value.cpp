// Typed values as SQLite parameters.
#include "queries/sqlite_value.h"

#include "engine/engine.h"
#include "support/decimal_text.h"

namespace queries {

namespace {
using support::ValueKind;

int bindBytes(sqlite3_stmt* statement, int parameter, const void* data, size_t size) {
  // A zero-length blob, not a null: an empty binary value stays empty.
  if (size == 0) return sqlite3_bind_zeroblob(statement, parameter, 0);
  return sqlite3_bind_blob64(statement, parameter, data, size, SQLITE_TRANSIENT);
}

int bindText(sqlite3_stmt* statement, int parameter, const std::string& text) {
  return sqlite3_bind_text64(statement, parameter, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}
}  // namespace

int BindValue(sqlite3_stmt* statement, int parameter, const support::Value& value, int declaredType) {
  switch (value.kind) {
    case ValueKind::kNull: return sqlite3_bind_null(statement, parameter);
    case ValueKind::kBoolean:
    case ValueKind::kByte:
    case ValueKind::kInt16:
    case ValueKind::kInt32:
    case ValueKind::kInt64:
    case ValueKind::kDateExtended: return sqlite3_bind_int64(statement, parameter, value.integer);
    // Exact decimals as text; a column of numeric affinity keeps them as numbers where SQLite can.
    case ValueKind::kCurrency: return bindText(statement, parameter, support::CurrencyDecimal(value.integer));
    case ValueKind::kNumeric: return bindText(statement, parameter, support::NumericDecimal(value.numeric));
    case ValueKind::kSingle:
    case ValueKind::kDouble:
    case ValueKind::kDate: return sqlite3_bind_double(statement, parameter, value.real);
    case ValueKind::kText:
      if (declaredType == engine::kEngineBinary || declaredType == engine::kEngineLongBinary)
        return bindBytes(statement, parameter, value.text.data(), value.text.size());
      return bindText(statement, parameter, value.text);
    case ValueKind::kGuid:
    case ValueKind::kBinary:
    case ValueKind::kLongBinary: return bindBytes(statement, parameter, value.bytes.data(), value.bytes.size());
    case ValueKind::kList:
    case ValueKind::kAttachments: break;
  }
  throw engine::EngineError("a list or attachment value has no column to go to");
}

}  // namespace queries
