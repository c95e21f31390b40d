// The two stored text forms, to and from UTF-8.
#include "format/text_codec.h"

#include <cstdint>
#include <vector>

#include "support/text.h"

namespace format {

namespace {
constexpr uint8_t kCompressedMarker0 = 0xFF;
constexpr uint8_t kCompressedMarker1 = 0xFE;
constexpr uint8_t kModeSwitch = 0x00;

// Expands the compressed form into plain UTF-16LE code units. The switch byte is looked for
// at the start of each character, in both modes; a lone byte left in two-byte mode is dropped.
std::vector<uint8_t> expandCompressed(support::ByteView bytes) {
  std::vector<uint8_t> units;
  units.reserve(bytes.size() * 2);
  bool oneByteMode = true;
  size_t i = 2;
  while (i < bytes.size()) {
    const uint8_t byte = bytes.u8(static_cast<int64_t>(i));
    if (byte == kModeSwitch) {
      oneByteMode = !oneByteMode;
      ++i;
    } else if (oneByteMode) {
      units.push_back(byte);
      units.push_back(0);
      ++i;
    } else if (i + 1 < bytes.size()) {
      units.push_back(byte);
      units.push_back(bytes.u8(static_cast<int64_t>(i + 1)));
      i += 2;
    } else {
      break;
    }
  }
  return units;
}

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

std::string DecodeJetText(support::ByteView bytes) {
  if (bytes.size() >= 2 && bytes.u8(0) == kCompressedMarker0 && bytes.u8(1) == kCompressedMarker1) {
    const std::vector<uint8_t> units = expandCompressed(bytes);
    return support::Utf16LeToUtf8(support::ByteView(units));
  }
  return support::Utf16LeToUtf8(bytes);
}

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
  out += static_cast<char>(kCompressedMarker0);
  out += static_cast<char>(kCompressedMarker1);
  for (char16_t unit : text) out += static_cast<char>(unit);
  return out;
}

std::u16string FoldedName(std::string_view utf8) {
  std::u16string folded = Utf8ToUtf16(utf8);
  for (char16_t& c : folded)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return folded;
}

}  // namespace format
