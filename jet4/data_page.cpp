// Filling a data page.
#include "jet4/data_page.h"

#include <cstring>

#include "format/row_entries.h"

namespace jet4 {

namespace {
constexpr int kHeaderSize = static_cast<int>(format::kRowTableOffset);
constexpr size_t kFreeSpaceOffset = 2;
}  // namespace

void DataPage::reset(uint32_t owner) {
  page_.fill(0);
  page_[0] = kPageData;
  page_[1] = 0x01;
  Put32(&page_[format::kDataOwnerOffset], owner);
  rowCount_ = 0;
  rowsStart_ = kPageSize;
  Put16(&page_[kFreeSpaceOffset], static_cast<uint32_t>(freeSpace()));
}

int DataPage::freeSpace() const {
  return rowsStart_ - kHeaderSize - 2 * rowCount_;
}

bool DataPage::fits(size_t rowLength) const {
  return rowCount_ < kMaxRowsPerPage && rowLength + 2 <= static_cast<size_t>(freeSpace());
}

int DataPage::add(std::string_view row) {
  rowsStart_ -= static_cast<int>(row.size());
  if (!row.empty()) std::memcpy(&page_[static_cast<size_t>(rowsStart_)], row.data(), row.size());
  Put16(&page_[static_cast<size_t>(kHeaderSize + 2 * rowCount_)], static_cast<uint32_t>(rowsStart_));
  ++rowCount_;
  Put16(&page_[format::kRowCountOffset], static_cast<uint32_t>(rowCount_));
  Put16(&page_[kFreeSpaceOffset], static_cast<uint32_t>(freeSpace()));
  return rowCount_ - 1;
}

}  // namespace jet4
