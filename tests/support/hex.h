// Lower-case hexadecimal of bytes, for comparing written bytes in tests.
#pragma once

#include <string>
#include <string_view>

namespace testsupport {

// Two digits per byte; with spaced, the bytes are separated by blanks ("7f 80 00").
inline std::string HexOf(std::string_view bytes, bool spaced = false) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) {
    if (spaced && !out.empty()) out += ' ';
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

}  // namespace testsupport
