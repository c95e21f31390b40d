// Reading a text value into the bytes a column stores, as the engine reads a typed-in value
// (a text value set on a column of another type). The forms read:
//   BIT "1"/"0"; BYTE, INT, LONG decimal integers (BYTE -128..255, INT -32768..65535);
//   CURRENCY and NUMERIC decimals ("-12.3456", "0000000000000000.42"); SINGLE, DOUBLE
//   decimal text; DATE "%m/%d/%Y %H:%M:%S"; GUID "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
//   BINARY lower-case hexadecimal; OLEOBJECT the raw bytes; TEXT, MEMO UTF-8.
#pragma once

#include <string_view>

#include "jet4/row_encoder.h"
#include "jet4/table_schema.h"

namespace jet4 {

// Throws engine::EngineError when the text is no value of the column's type, or does not
// fit the column (a number out of range, a text longer than the column).
FieldValue ParseValueText(const ColumnDef& column, std::string_view text);

}  // namespace jet4
