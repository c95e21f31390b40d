// Text as the file stores it: UTF-16LE, or the compressed form (marker FF FE, then one byte
// per character) for values whose characters all fit in one byte.
#pragma once

#include <string>
#include <string_view>

namespace jet4 {

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

}  // namespace jet4
