// The rows of the small table the table-export tests build: id LONG, flag BIT, amount
// NUMERIC(18,2), note TEXT, each row as the bytes a data page holds.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/support/record_fixture.h"

namespace testsupport {

struct ExportRow {
  int id;
  bool flag;
  uint32_t cents;  // NUMERIC(18,2)
  const char* note;
  uint16_t entryFlags = 0;  // 0xC000: deleted
  bool allNull = false;
};

inline std::vector<uint8_t> ExportRowBytes(const ExportRow& row) {
  if (row.allNull) return RowBuilder(4, 21).bytes();
  const std::vector<uint8_t> numeric =
      Concat(Concat(Concat(Concat({0x00}, Le32(0)), Le32(0)), Le32(0)), Le32(row.cents));
  RowBuilder builder(4, 21);
  builder.fixed(0, 0, Le32(static_cast<uint32_t>(row.id))).present(1, row.flag).fixed(2, 4, numeric);
  builder.variable(3, Utf16(row.note));
  return builder.bytes();
}

}  // namespace testsupport
