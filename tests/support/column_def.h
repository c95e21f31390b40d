// A writer's column definition for value tests: named "C", text columns compressed.
#pragma once

#include <cstdint>

#include "jet4/table_schema.h"

namespace testsupport {

inline jet4::ColumnDef ColumnOf(jet4::ColumnType type, uint16_t length = 0, uint8_t precision = 0, uint8_t scale = 0) {
  jet4::ColumnDef c;
  c.name = "C";
  c.type = type;
  c.length = length;
  c.precision = precision;
  c.scale = scale;
  if (type == jet4::ColumnType::kText || type == jet4::ColumnType::kMemo) c.extFlags = jet4::kColumnCompressed;
  return c;
}

}  // namespace testsupport
