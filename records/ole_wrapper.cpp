// Parsing of the OLE object wrapper.
#include "records/ole_wrapper.h"

#include <cctype>
#include <cstring>

#include "support/byte_view.h"

namespace records {

namespace {
// Object header (positions from the start of the object data; n = data length):
//   0        2  signature 0x1C15                     (n >= 4)
//   2        2  header size A                         (A <= 276, A + 12 < n)
//   20       -  object name ("Bitmap", "Acrobat", "Package", ...)
//   A + 8    4  class name length B                   (B <= 256, A + B + 24 < n)
//   A + B + 20  4  native data size C
//   A + B + 24  -  native data
constexpr uint16_t kSignature = 0x1C15;
constexpr uint32_t kMaxHeaderSize = 276;
constexpr uint32_t kMaxClassNameLength = 256;
constexpr int64_t kObjectNamePosition = 20;
constexpr const char* kDefaultExtension = "ole";

// Package native data, from q = A + B + 24:
//   q        2  skipped
//   q + 2    -  label, zero-terminated (label and path within 256 bytes)
//   next     -  original path, zero-terminated (within 512 bytes of the label)
//   next     4  skipped (at least 8 bytes must remain)
//   next     4  length D of the temporary path, then D bytes (D <= 512)
//   next     4  content length
//   next     -  the embedded file's content
constexpr int64_t kMaxLabelIndex = 256;
constexpr int64_t kMaxPathIndex = 512;
constexpr uint32_t kMaxTempPathLength = 512;

bool objectNameIs(support::ByteView data, const char* name) {
  const size_t length = std::strlen(name);
  support::ByteView bytes = data.slice(kObjectNamePosition, static_cast<int64_t>(length));
  return !bytes.empty() && std::memcmp(bytes.data(), name, length) == 0;
}

// Position of the zero that ends the string starting at start, searched no further than
// start + limit; -1 when there is none.
int64_t stringEnd(support::ByteView data, int64_t start, int64_t limit) {
  for (int64_t i = start; i <= start + limit && i < static_cast<int64_t>(data.size()); ++i)
    if (data.u8(i) == 0) return i;
  return -1;
}

struct Package {
  int64_t contentStart = 0;
  int64_t contentLength = 0;
  std::string extension;
};

bool parsePackage(support::ByteView data, int64_t q, Package& package) {
  const int64_t n = static_cast<int64_t>(data.size());
  const int64_t labelStart = q + 2;
  const int64_t labelEnd = stringEnd(data, labelStart, kMaxLabelIndex);
  if (labelEnd < 0) return false;
  const int64_t pathEnd = stringEnd(data, labelEnd + 1, kMaxPathIndex);
  if (pathEnd < 0) return false;
  int64_t p = pathEnd + 1 + 4;
  if (n - p < 8) return false;
  const uint32_t tempPathLength = data.u32(p);
  if (tempPathLength > kMaxTempPathLength || !data.contains(p + 4, tempPathLength)) return false;
  p += 4 + tempPathLength;
  if (!data.contains(p, 4)) return false;
  const int64_t contentLength = data.u32(p);
  p += 4;
  if (!data.contains(p, contentLength)) return false;

  const std::string label(reinterpret_cast<const char*>(data.data() + labelStart),
                          static_cast<size_t>(labelEnd - labelStart));
  if (!label.empty() && label[0] == '.') return false;
  const size_t dot = label.rfind('.');
  package.extension = dot == std::string::npos ? label : label.substr(dot + 1);
  package.contentStart = p;
  package.contentLength = contentLength;
  return true;
}
}  // namespace

bool IsSafeExtension(const std::string& extension) {
  if (extension.empty() || extension.size() > 16) return false;
  for (char c : extension)
    if (!std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) > 0x7F) return false;
  return true;
}

support::ObjectInfo InspectOleWrapper(support::ByteView data) {
  support::ObjectInfo info;
  info.extension = kDefaultExtension;
  info.innerLength = data.size();
  const int64_t n = static_cast<int64_t>(data.size());
  if (n < 4 || data.u16(0) != kSignature) return info;
  const uint32_t headerSize = data.u16(2);
  if (headerSize > kMaxHeaderSize || headerSize + 12 >= n) return info;
  const uint32_t classNameLength = data.u32(headerSize + 8);
  if (classNameLength > kMaxClassNameLength || headerSize + 12 + classNameLength + 12 >= n) return info;
  const int64_t nativeStart = headerSize + classNameLength + 24;
  int64_t nativeLength = data.u32(headerSize + classNameLength + 20);

  std::string kind;
  int64_t keepFrom = nativeStart;
  bool cut = true;
  if (objectNameIs(data, "Bitmap")) {
    kind = "bmp";
  } else if (objectNameIs(data, "Acrobat")) {
    kind = "pdf";
    cut = false;
  } else if (objectNameIs(data, "Package")) {
    Package package;
    if (!parsePackage(data, nativeStart, package)) return info;
    kind = IsSafeExtension(package.extension) ? package.extension : kDefaultExtension;
    keepFrom = package.contentStart;
    nativeLength = package.contentLength;
  } else {
    kind = kDefaultExtension;
  }

  info.wrapped = true;
  info.extension = kind;
  info.innerOffset = static_cast<size_t>(keepFrom);
  info.innerLength = static_cast<size_t>(n - keepFrom);
  if (cut && nativeLength >= 0 && static_cast<size_t>(nativeLength) < info.innerLength)
    info.innerLength = static_cast<size_t>(nativeLength);
  return info;
}

bool ParseOleWrapper(std::vector<uint8_t>& bytes, std::string& extension) {
  const support::ObjectInfo info = InspectOleWrapper(support::ByteView(bytes));
  extension = info.extension;
  if (!info.wrapped) return false;
  bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(info.innerOffset + info.innerLength), bytes.end());
  bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(info.innerOffset));
  return true;
}

}  // namespace records
