// MEMO and OLE object values: a 12-byte reference in the row whose data follow it, fill one
// row of a long-value ("LVAL") page, or run along a chain of such rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "support/byte_view.h"

namespace records {

// Long-value reference, the first 12 bytes of the value:
//   0  4  length in the low 30 bits; top bits: 10 inline, 01 one long-value row, 00 a chain
//   4  1  row number of the (first) long-value row
//   5  3  page number of that row
//   8  4  not used
enum class LongValueKind { kInline, kSingleRow, kChain, kUnhandled };

struct LongValueReference {
  LongValueKind kind = LongValueKind::kUnhandled;
  uint32_t length = 0;
  uint16_t flagsWord = 0;  // the 16 bits at offset 2, as the unhandled-flags messages show them
  uint8_t row = 0;
  uint32_t page = 0;
};

constexpr int64_t kLongValueReferenceSize = 12;

LongValueReference ParseLongValueReference(support::ByteView value);

enum class LongValueRead {
  kRead,       // data holds what was found (possibly less than the stated length)
  kMissing,    // the first page or row reference does not name a long-value row
  kOutOfPage,  // the first long-value row does not lie inside its page
};

// Gathers a value's data (value = the bytes in the row, reference included), at most the
// stated length. Chains stop at a row already read, and after four parts per page of the file.
LongValueRead ReadLongValueData(analysis::MdbRecovery& recovery, support::ByteView value,
                                const LongValueReference& reference, std::vector<uint8_t>& data);

// MEMO: 1 with the text set ("NULL" when there is none, empty for an empty memo, a message for
// unhandled flags), -1
// (text untouched) for a value shorter than its reference or a long-value row outside its page.
int FormatMemo(analysis::MdbRecovery& recovery, support::ByteView page, int64_t position, std::string& text,
               int64_t length);
// OLE object: writes the object's data (wrapper stripped) into a new file and sets the text to
// its path; -1 when there is no object to write (text untouched, except for unhandled flags).
int FormatOle(analysis::MdbRecovery& recovery, support::ByteView page, int64_t position, std::string& text,
              int64_t length);

}  // namespace records
