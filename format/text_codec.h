// Text as the file stores it: UTF-16LE, or the compressed form that starts with FF FE and holds
// one byte per character, where a 00 byte switches between one-byte and two-byte runs. The
// reader decodes both; the writer compresses values whose characters all fit in one byte.
#pragma once

#include <string>
#include <string_view>

#include "support/byte_view.h"

namespace format {

// The UTF-8 text of a TEXT or MEMO value's stored bytes.
std::string DecodeJetText(support::ByteView bytes);

// UTF-8 to UTF-16 code units. A byte that starts no valid UTF-8 sequence is taken as the
// Latin-1 character of that value, so no input byte is lost.
std::u16string Utf8ToUtf16(std::string_view utf8);

// The stored bytes of a text value. Compression is used only when allowed, when every
// character lies in U+0001..U+00FF, and for lengths the engine compresses (3 to 1024 characters).
std::string EncodeText(std::u16string_view text, bool allowCompression);

// UTF-16LE bytes without compression (names in table definitions and the catalog).
std::string Utf16LeBytes(std::u16string_view text);

// A name as the engine compares names: UTF-16 with the ASCII letters in upper case.
std::u16string FoldedName(std::string_view utf8);

}  // namespace format
