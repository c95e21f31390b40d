// Names from the user's file (tables, queries) become file names in an export folder. The file
// may be damaged or hostile, so a name must never reach outside that folder.
#pragma once

#include <set>
#include <string>

namespace support {

// Longest cleaned name in bytes, leaving room for an extension and a " (n)" suffix within the
// 255 bytes a file name may have.
constexpr size_t kMaxSafeFileNameBytes = 240;

// "/", NUL and other control characters (below 0x20, and 0x7F) become "_"; a name that is
// empty, "." or ".." gets a "_" in front; a name longer than kMaxSafeFileNameBytes is cut on a
// character boundary. Everything else is kept as it is.
std::string SafeFileName(const std::string& name);

// The file names of one export folder: each name as SafeFileName makes it, followed by " (2)",
// " (3)" ... when an earlier name already took that file, so no export overwrites another.
class UniqueFileNames {
 public:
  std::string take(const std::string& name);

 private:
  std::set<std::string> taken_;
};

}  // namespace support
