// Where a MEMO or OLE column puts its values. The row holds a 12-byte reference:
//
//  off | size | field
//  ----+------+------------------------------------------------------------------
//   0  |  4   | length in the low 30 bits; bit 31 = data follow inline, bit 30 = the
//      |      | data are one row of a long-value page, neither = a chain of such rows
//   4  |  4   | row pointer of the (first) long-value row
//   8  |  4   | 0
//
// Long-value pages are data pages whose owner field reads "LVAL"; a chain row starts with the
// row pointer of the next part (0 at the end). Each column keeps its own pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "jet4/data_page.h"

namespace jet4 {

class PageFile;

constexpr size_t kLongValueReferenceSize = 12;
constexpr size_t kMaxInlineLongValue = 64;

class LongValueStore {
 public:
  explicit LongValueStore(PageFile& file) : file_(&file) {}

  // The reference with the data inline (only for data of up to kMaxInlineLongValue bytes).
  static std::string InlineReference(std::string_view data);
  // Writes the data to long-value pages and returns the reference.
  std::string store(std::string_view data);
  // Writes the page still being filled.
  void finish();

  const std::vector<uint32_t>& pages() const { return pages_; }
  // Pages with room left for more values.
  const std::vector<uint32_t>& pagesWithRoom() const { return pagesWithRoom_; }

 private:
  uint32_t placeRow(std::string_view row);
  void closeCurrent();

  PageFile* file_;
  DataPage current_{0};
  uint32_t currentNumber_ = 0;
  bool open_ = false;
  std::vector<uint32_t> pages_;
  std::vector<uint32_t> pagesWithRoom_;
};

}  // namespace jet4
