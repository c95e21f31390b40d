// Decoding and cleaning of stored names.
#include "analysis/stored_names.h"

#include <algorithm>

#include "analysis/model.h"
#include "support/text.h"

namespace analysis {

namespace {
// Length of the UTF-8 sequence that starts with this byte (the decoder only writes valid ones).
size_t sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  return 2;
}

bool keepsCharacter(const std::string& text, size_t at, size_t length) {
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  if (length == 1) return lead >= 0x20 && lead < 0x7F;
  // U+00A0 is the only character at or above U+007F that stays: C2 A0.
  return length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[at + 1]) == 0xA0;
}
}  // namespace

std::string DecodeStoredName(support::ByteView bytes) {
  std::string name = support::Utf16LeToUtf8(bytes);
  name.erase(std::remove(name.begin(), name.end(), '\0'), name.end());
  return name;
}

std::string CleanColumnName(const std::string& utf8Name) {
  std::string cleaned;
  cleaned.reserve(utf8Name.size());
  for (size_t at = 0; at < utf8Name.size();) {
    const size_t length = std::min(sequenceLength(static_cast<unsigned char>(utf8Name[at])), utf8Name.size() - at);
    if (keepsCharacter(utf8Name, at, length))
      cleaned.append(utf8Name, at, length);
    else
      cleaned += '_';
    at += length;
  }
  return support::TruncateUtf8(cleaned, Column::kMaxNameBytes);
}

}  // namespace analysis
