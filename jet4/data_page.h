// One data page being filled: rows packed from the page end downward, their offsets in a
// table after the 14-byte header. Also used for long-value and usage-map rows.
//
//  off | size | field
//  ----+------+------------------------------------------------
//   0  |  1   | 0x01 (data page)
//   1  |  1   | 0x01
//   2  |  2   | free bytes = 4096 - 14 - sum(row length + 2)
//   4  |  4   | owner: tdef page, "LVAL", or 0 for usage-map rows
//   8  |  4   | 0
//   C  |  2   | row count
//   E  | 2 ea | row start offsets, row 0 first (row 0 ends at 4096)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "jet4/page_format.h"

namespace jet4 {

class DataPage {
 public:
  explicit DataPage(uint32_t owner = 0) { reset(owner); }

  void reset(uint32_t owner);
  bool fits(size_t rowLength) const;
  // Appends the row and returns its row number; the caller checked fits().
  int add(std::string_view row);

  int rowCount() const { return rowCount_; }
  int freeSpace() const;
  bool empty() const { return rowCount_ == 0; }
  const uint8_t* bytes() const { return page_.data(); }

 private:
  std::array<uint8_t, kPageSize> page_{};
  int rowCount_ = 0;
  int rowsStart_ = kPageSize;
};

}  // namespace jet4
