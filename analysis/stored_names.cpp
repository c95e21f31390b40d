// Decoding and cleaning of stored names.
#include "analysis/stored_names.h"

#include <algorithm>
#include <set>

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
  const auto byte = [&text, at](size_t i) { return static_cast<unsigned char>(text[at + i]); };
  if (length == 1) return byte(0) >= 0x20 && byte(0) != 0x7F;
  // U+0080 to U+009F, the second set of control characters: C2 80 to C2 9F.
  if (length == 2) return !(byte(0) == 0xC2 && byte(1) < 0xA0);
  // U+FFFD stands for a unit the decoder could not read (an unpaired surrogate): EF BF BD.
  if (length == 3) return !(byte(0) == 0xEF && byte(1) == 0xBF && byte(2) == 0xBD);
  return true;
}

}  // namespace

std::string DecodeStoredName(support::ByteView bytes) {
  std::string name = support::Utf16LeToUtf8(bytes);
  name.erase(std::remove(name.begin(), name.end(), '\0'), name.end());
  return name;
}

std::string CleanStoredName(const std::string& utf8Name) {
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
  return cleaned;
}

std::string CleanColumnName(const std::string& utf8Name) {
  return support::TruncateUtf8(CleanStoredName(utf8Name), Column::kMaxNameBytes);
}

void MakeColumnNamesUnique(std::vector<Column>& columns) {
  std::set<std::string> taken;
  for (Column& column : columns) {
    std::string candidate = column.name;
    for (int n = 2; !taken.insert(support::FoldAsciiCase(candidate)).second; ++n) {
      const std::string suffix = " (" + std::to_string(n) + ")";
      candidate = support::TruncateUtf8(column.name, Column::kMaxNameBytes - suffix.size()) + suffix;
    }
    column.name = candidate;
  }
}

}  // namespace analysis
