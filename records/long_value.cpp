// Following long-value references to their data.
#include "records/long_value.h"

#include <set>

#include "format/page_format.h"
#include "format/row_entries.h"

namespace records {

namespace {
constexpr uint32_t kLengthMask = 0x3FFFFFFF;
constexpr uint32_t kInlineBit = 0x80000000;
constexpr uint32_t kSingleRowBit = 0x40000000;
constexpr int64_t kChainLinkSize = 4;  // row number, then 3-byte page number of the next part

enum class RowLookup { kFound, kMissing, kOutOfPage };

// One long-value page, read into a buffer of its own (the table's page buffer stays as it is).
class LongValuePage {
 public:
  RowLookup load(analysis::MdbRecovery& recovery, uint32_t pageNumber) {
    if (loaded_ && pageNumber == loadedNumber_) return RowLookup::kFound;  // the next part on the same page
    loaded_ = false;
    if (analysis::g_pageMap.findByNumber(pageNumber) == nullptr) return RowLookup::kMissing;
    if (recovery.ReadPageByNumber(buffer_.data(), pageNumber) <= 0) return RowLookup::kMissing;
    const support::ByteView page(buffer_);
    if (page.u8(0) != format::kPageData || page.u32(format::kDataOwnerOffset) != format::kLongValueOwner)
      return RowLookup::kMissing;
    loaded_ = true;
    loadedNumber_ = pageNumber;
    return RowLookup::kFound;
  }

  // The row's bytes: from its start to the start of the row stored before it (the page end for
  // row 0).
  RowLookup row(uint8_t number, support::ByteView& bytes) const {
    const support::ByteView page(buffer_);
    const int64_t rowCount = page.u16(format::kRowCountOffset);
    if (number >= rowCount) return RowLookup::kMissing;
    format::RowEntry entry;
    if (!format::ReadRowEntry(page, number, entry)) return RowLookup::kOutOfPage;
    const int64_t start = entry.start, end = entry.end + 1;  // end: one past the row's last byte
    if (start < format::kRowTableOffset + 2 * rowCount || start > end || end > static_cast<int64_t>(page.size()))
      return RowLookup::kOutOfPage;
    bytes = page.slice(start, end - start);
    return RowLookup::kFound;
  }

 private:
  std::vector<uint8_t> buffer_ = std::vector<uint8_t>(analysis::kPageSize, 0);
  bool loaded_ = false;
  uint32_t loadedNumber_ = 0;
};

// Every part of a chain but the last fills its row to the page's end, so a real chain has at
// most a part or two per page of the file. Beyond four per page a chain is damaged or hostile
// (rows of a few bytes linked round a page): it ends there, so that one value never costs more
// page reads than a few times the file's page count.
size_t maxChainParts() {
  return 4 * analysis::g_pageMap.size() + 16;
}

RowLookup findRow(analysis::MdbRecovery& recovery, LongValuePage& page, uint32_t pageNumber, uint8_t rowNumber,
                  support::ByteView& bytes) {
  const RowLookup loaded = page.load(recovery, pageNumber);
  return loaded == RowLookup::kFound ? page.row(rowNumber, bytes) : loaded;
}

void append(std::vector<uint8_t>& data, support::ByteView bytes, uint32_t limit) {
  const size_t room = limit > data.size() ? limit - data.size() : 0;
  const size_t take = bytes.size() < room ? bytes.size() : room;
  data.insert(data.end(), bytes.data(), bytes.data() + take);
}

LongValueRead readChain(analysis::MdbRecovery& recovery, const LongValueReference& reference,
                        std::vector<uint8_t>& data) {
  LongValuePage page;
  std::set<uint32_t> visited;
  uint32_t pageNumber = reference.page;
  uint8_t rowNumber = reference.row;
  const size_t maxParts = maxChainParts();
  while (data.size() < reference.length && visited.size() < maxParts &&
         visited.insert(pageNumber << 8 | rowNumber).second) {
    support::ByteView row;
    const RowLookup found = findRow(recovery, page, pageNumber, rowNumber, row);
    if (found != RowLookup::kFound || row.size() < kChainLinkSize) {
      if (visited.size() > 1) break;  // a later part is bad: keep the parts gathered so far
      return found == RowLookup::kMissing ? LongValueRead::kMissing : LongValueRead::kOutOfPage;
    }
    append(data, row.from(kChainLinkSize), reference.length);
    rowNumber = row.u8(0);
    pageNumber = row.u24(1);
    if (pageNumber == 0) break;
  }
  return LongValueRead::kRead;
}
}  // namespace

LongValueReference ParseLongValueReference(support::ByteView value) {
  LongValueReference reference;
  const uint32_t word = value.u32(0);
  reference.length = word & kLengthMask;
  reference.flagsWord = value.u16(2);
  reference.row = value.u8(4);
  reference.page = value.u24(5);
  const uint32_t kindBits = word & (kInlineBit | kSingleRowBit);
  if (kindBits == kInlineBit)
    reference.kind = LongValueKind::kInline;
  else if (kindBits == kSingleRowBit)
    reference.kind = LongValueKind::kSingleRow;
  else if (kindBits == 0)
    reference.kind = LongValueKind::kChain;
  else
    reference.kind = LongValueKind::kUnhandled;
  return reference;
}

LongValueRead ReadLongValueData(analysis::MdbRecovery& recovery, support::ByteView value,
                                const LongValueReference& reference, std::vector<uint8_t>& data) {
  data.clear();
  switch (reference.kind) {
    case LongValueKind::kInline:
      append(data, value.from(kLongValueReferenceSize), reference.length);
      return LongValueRead::kRead;
    case LongValueKind::kSingleRow: {
      LongValuePage page;
      support::ByteView row;
      const RowLookup found = findRow(recovery, page, reference.page, reference.row, row);
      if (found == RowLookup::kMissing) return LongValueRead::kMissing;
      if (found == RowLookup::kOutOfPage) return LongValueRead::kOutOfPage;
      append(data, row, reference.length);
      return LongValueRead::kRead;
    }
    case LongValueKind::kChain: return readChain(recovery, reference, data);
    case LongValueKind::kUnhandled: break;
  }
  return LongValueRead::kMissing;
}

}  // namespace records
