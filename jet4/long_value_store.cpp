// Writing long values: inline, as one long-value row, or as a chain of rows.
#include "jet4/long_value_store.h"

#include "jet4/page_file.h"
#include "jet4/page_format.h"

namespace jet4 {

namespace {
constexpr uint32_t kInlineFlag = 0x80000000u;
constexpr uint32_t kSingleRowFlag = 0x40000000u;
constexpr uint32_t kLengthMask = 0x3FFFFFFFu;
constexpr size_t kMaxLongValueRow = 4076;  // a row that fills an empty page
constexpr size_t kChainLink = 4;
constexpr size_t kChainPart = kMaxLongValueRow - kChainLink;
// A page with at least this much room left goes into the column's free-space map.
constexpr int kRoomWorthListing = 512;

std::string reference(uint32_t lengthAndFlags, uint32_t rowPointer) {
  std::string bytes(kLongValueReferenceSize, '\0');
  Put32(bytes, 0, lengthAndFlags);
  Put32(bytes, 4, rowPointer);
  return bytes;
}
}  // namespace

std::string LongValueStore::InlineReference(std::string_view data) {
  std::string bytes = reference(kInlineFlag | static_cast<uint32_t>(data.size()), 0);
  bytes.append(data.data(), data.size());
  return bytes;
}

void LongValueStore::closeCurrent() {
  if (!open_) return;
  file_->write(currentNumber_, current_.bytes());
  if (current_.freeSpace() >= kRoomWorthListing) pagesWithRoom_.push_back(currentNumber_);
  open_ = false;
}

uint32_t LongValueStore::placeRow(std::string_view row) {
  if (open_ && !current_.fits(row.size())) {
    if (row.size() > kPageSize / 2) {
      // A large part gets a page of its own; the current page keeps collecting small values.
      DataPage own(kLongValueOwner);
      const uint32_t number = file_->allocate();
      const int slot = own.add(row);
      file_->write(number, own.bytes());
      pages_.push_back(number);
      return RowPointer(number, static_cast<uint32_t>(slot));
    }
    closeCurrent();
  }
  if (!open_) {
    current_.reset(kLongValueOwner);
    currentNumber_ = file_->allocate();
    pages_.push_back(currentNumber_);
    open_ = true;
  }
  return RowPointer(currentNumber_, static_cast<uint32_t>(current_.add(row)));
}

std::string LongValueStore::store(std::string_view data) {
  const auto length = static_cast<uint32_t>(data.size()) & kLengthMask;
  if (data.size() <= kMaxLongValueRow) return reference(kSingleRowFlag | length, placeRow(data));
  // Parts are written last first, so each part knows where its successor went.
  const size_t parts = (data.size() + kChainPart - 1) / kChainPart;
  uint32_t next = 0;
  for (size_t part = parts; part-- > 0;) {
    const size_t start = part * kChainPart;
    const size_t size = std::min(kChainPart, data.size() - start);
    std::string row(kChainLink, '\0');
    Put32(row, 0, next);
    row.append(data.data() + start, size);
    next = placeRow(row);
  }
  return reference(length, next);
}

void LongValueStore::finish() {
  closeCurrent();
}

}  // namespace jet4
