// File names made from names found in the user's file.
#include "support/file_name.h"

#include "support/text.h"

namespace support {

std::string SafeFileName(const std::string& name) {
  std::string safe = TruncateUtf8(name, kMaxSafeFileNameBytes);
  for (char& c : safe) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '/' || byte < 0x20 || byte == 0x7F) c = '_';
  }
  if (safe.empty() || safe == "." || safe == "..") safe = "_" + safe;
  return safe;
}

std::string UniqueFileNames::take(const std::string& name) {
  const std::string safe = SafeFileName(name);
  std::string candidate = safe;
  for (int n = 2; !taken_.insert(candidate).second; ++n) candidate = safe + " (" + std::to_string(n) + ")";
  return candidate;
}

}  // namespace support
