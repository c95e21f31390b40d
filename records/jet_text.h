// Text values as the file stores them: UTF-16LE, or the compressed form that starts with
// FF FE and holds one byte per character, where a 00 byte switches between one-byte and
// two-byte runs.
#pragma once

#include <string>

#include "support/byte_view.h"

namespace records {

// The UTF-8 text of a TEXT or MEMO value's bytes.
std::string DecodeJetText(support::ByteView bytes);

}  // namespace records
