// Binding a typed value to a statement parameter: SQLite stores it as its own kind of value
// (integer, real, text, blob) instead of a display text, so nothing is lost on the way.
#pragma once

#include <sqlite3.h>

#include "support/value.h"

namespace queries {

// declaredType is the column's engine type code (0 for none of ours); a text set on a binary
// column is kept as its bytes. Returns SQLite's result code; EngineError for a value kind
// SQLite has no place for (lists, attachments).
int BindValue(sqlite3_stmt* statement, int parameter, const support::Value& value, int declaredType);

}  // namespace queries
