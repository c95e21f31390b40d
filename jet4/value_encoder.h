// Turning a typed value into the bytes its column stores. A value of the column's own kind is
// stored exactly: a double or single bit for bit, currency from its scaled integer, NUMERIC
// from its digits, a date from its stored day count, GUID and binary bytes as they are (an
// empty binary value stays empty, not null), an OLE object's bytes with their OLE header.
// Other kinds convert where the conversion is lossless or rounds as the engine rounds (a whole
// number into a DOUBLE, a double into CURRENCY); a text value is read as the engine reads a
// typed-in value (ParseValueText), so the text "NULL" stays a text in a text column.
#pragma once

#include "jet4/row_encoder.h"
#include "jet4/table_schema.h"
#include "support/value.h"

namespace jet4 {

// Throws engine::EngineError when the column cannot hold the value (out of range, too long, a
// kind with no conversion to the column's type).
FieldValue EncodeFieldValue(const ColumnDef& column, const support::Value& value);

}  // namespace jet4
