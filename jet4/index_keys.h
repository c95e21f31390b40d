// Index keys as the engine compares them: a flag byte per column (0x7F a present ascending
// value, 0x00 a null), then the value in a byte form that sorts by unsigned comparison.
//
// Text keys follow the General sort order of the 4096-byte format (sort version 0):
//   inline codes (one or two bytes per character, case folded, accents stripped), 0x01,
//   then, only when needed: the accent bytes (one per character with inline codes; trailing
//   0x02 "plain" dropped), and, when characters without inline codes occur (controls, the
//   apostrophe, the hyphen, ...), 0x01 0x01 0x01 and per such character
//   [0x80 | hi, lo] 0x06 code, where hi lo = 7 + 4 x (characters with inline codes before it),
//   big-endian; then 0x00.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace jet4 {

constexpr uint8_t kKeyPresentAscending = 0x7F;
constexpr uint8_t kKeyNullAscending = 0x00;

// The sort bytes of a text (without the flag byte). Characters above U+00FF have no code in
// our table; they get a code of their own (0xFD, then the UTF-16 unit big-endian) that keeps
// such names apart and in order, though not where the engine would place them.
std::string TextSortKey(std::u16string_view text);

// Flag byte plus value for the integer types (big-endian, top bit flipped).
void AppendLongKey(std::string& key, int32_t value);
void AppendIntKey(std::string& key, int16_t value);
void AppendByteKey(std::string& key, uint8_t value);
void AppendTextKey(std::string& key, std::u16string_view text);
void AppendNullKey(std::string& key);

}  // namespace jet4
