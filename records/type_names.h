// Column data type codes and their type names.
#pragma once

#include <string>

#include "analysis/model.h"

namespace records {

enum TypeCode : int {
  kTypeBit = 1,
  kTypeByte = 2,
  kTypeInt = 3,
  kTypeLong = 4,
  kTypeCurrency = 5,
  kTypeSingle = 6,
  kTypeDouble = 7,
  kTypeDate = 8,
  kTypeBinary = 9,
  kTypeText = 10,
  kTypeOle = 11,
  kTypeMemo = 12,
  kTypeGuid = 15,
  kTypeNumeric = 16,
  kTypeAttachment = 18,
};

// "BIT", "BYTE", ..., "COUNTER" for a LONG with column number 0, "LONG" for NUMERIC too, and
// "UNKNOWN-DATATYPE = 0x%x" for codes without a name.
std::string GetTypeName(const analysis::Column& column);

}  // namespace records
