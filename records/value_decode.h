// DecodeValue: the typed value of one column value, by data type, from the value's bytes inside
// a loaded page. Nothing is turned into text here; the display text is made by value_text.h.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "support/byte_view.h"
#include "support/value.h"

namespace records {

enum class DecodeStatus {
  kDecoded,      // value holds what the file stores (a kNull value only where nothing was found)
  kOutOfPage,    // a fixed-size value does not lie inside the page: value is null
  kNoValueForm,  // BIT (its value is the null-mask bit) or a type code of no name:
                 // value holds the stored bytes as kBinary (nothing for BIT)
};

DecodeStatus DecodeValue(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column,
                         int64_t position, int64_t length, support::Value& value);

// The typed forms of the long values (long_value_decode.cpp). A MEMO gives kText (a message
// text for unhandled reference flags); an OLE object gives kLongBinary with the stored bytes,
// wrapper included, and what the wrapper parser found. Null when nothing could be read.
// The MEMO decoder says false where its value is shorter than a reference or its long-value row
// lies outside its page.
bool DecodeMemoValue(analysis::MdbRecovery& recovery, support::ByteView page, int64_t position, int64_t length,
                     support::Value& value);
void DecodeOleValue(analysis::MdbRecovery& recovery, support::ByteView page, int64_t position, int64_t length,
                    support::Value& value);

// Writes an OLE value's inner object into a new numbered file of the OLE folder (the record
// texts that still name a file) and gives its path.
std::string OleObjectFile(analysis::MdbRecovery& recovery, const support::Value& value);

}  // namespace records
