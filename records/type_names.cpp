// Type names by type code.
#include "records/type_names.h"

#include <cstdio>

#include "records/extended_types.h"

namespace records {

std::string GetTypeName(const analysis::Column& column) {
  switch (column.type) {
    case kTypeBit: return "BIT";
    case kTypeByte: return "BYTE";
    case kTypeInt: return "INT";
    case kTypeLong: return column.columnNumber == 0 ? "COUNTER" : "LONG";
    case kTypeCurrency: return "CURRENCY";
    case kTypeSingle: return "SINGLE";
    case kTypeDouble: return "DOUBLE";
    case kTypeDate: return "DATE";
    case kTypeBinary: return "BINARY";
    case kTypeText: return "TEXT";
    case kTypeOle: return "OLEOBJECT";
    case kTypeMemo: return "MEMO";
    case kTypeGuid: return "GUID";
    case kTypeNumeric: return "LONG";
    case kTypeAttachment: return "ATTACHMENT";
    case kTypeLargeNumber: return "BIGINT";
    case kTypeDateExtended: return "DATETIME2";
    default: {
      char text[48];
      std::snprintf(text, sizeof text, "UNKNOWN-DATATYPE = 0x%x", static_cast<unsigned>(column.type));
      return text;
    }
  }
}

}  // namespace records
