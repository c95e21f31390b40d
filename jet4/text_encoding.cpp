// UTF-8 decoding and the two stored text forms.
#include "jet4/text_encoding.h"

#include <cstdint>

namespace jet4 {

namespace {
constexpr size_t kMinCompressedChars = 3;
constexpr size_t kMaxCompressedChars = 1024;

// Length of the valid UTF-8 sequence at i and its code point, or 0 when there is none.
size_t decodeUtf8(std::string_view s, size_t i, uint32_t& codePoint) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t lead = byte(i);
  size_t length;
  uint32_t cp;
  uint32_t minimum;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (s.size() - i < length) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  codePoint = cp;
  return length;
}
}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    uint32_t cp = 0;
    size_t length = decodeUtf8(utf8, i, cp);
    if (length == 0) {
      cp = static_cast<uint8_t>(utf8[i]);
      length = 1;
    }
    i += length;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string Utf16LeBytes(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t unit : text) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  }
  return out;
}

std::string EncodeText(std::u16string_view text, bool allowCompression) {
  bool compress = allowCompression && text.size() >= kMinCompressedChars && text.size() <= kMaxCompressedChars;
  for (size_t i = 0; compress && i < text.size(); ++i) compress = text[i] >= 0x01 && text[i] <= 0xFF;
  if (!compress) return Utf16LeBytes(text);
  std::string out;
  out.reserve(text.size() + 2);
  out += '\xFF';
  out += '\xFE';
  for (char16_t unit : text) out += static_cast<char>(unit);
  return out;
}

std::u16string FoldedName(std::string_view utf8) {
  std::u16string folded = Utf8ToUtf16(utf8);
  for (char16_t& c : folded)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return folded;
}

}  // namespace jet4
