// Text conversions: the file stores UTF-16LE, the system works in UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "support/byte_view.h"

namespace support {

// Appends the UTF-8 form of one code point (invalid ones become U+FFFD).
void AppendUtf8(std::string& out, uint32_t codePoint);
// Decodes UTF-16LE code units; an unpaired surrogate becomes U+FFFD, a trailing odd byte is dropped.
std::string Utf16LeToUtf8(ByteView bytes);
// Cuts a UTF-8 text to at most maxBytes without splitting a character.
std::string TruncateUtf8(const std::string& text, size_t maxBytes);
// A name as SQL statements quote it: between square brackets, each "]" inside doubled, so any
// name (blanks, any script, brackets) stays one name.
std::string BracketedName(const std::string& name);

// The text with a-z made A-Z and every other byte kept: names compared the way the engine
// compares them, without regard to ASCII case.
std::string FoldAsciiCase(std::string text);

}  // namespace support
