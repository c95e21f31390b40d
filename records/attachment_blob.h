// The stored form of one attachment's file (the FileData long value of an attachment column's
// data table): a wrapper, possibly zlib-compressed, around a header naming the file type.
//
// Wrapper:                               Content (after inflating when compressed):
//   0  4  1 = compressed, 0 = raw           0      4      header length H = 12 + 2 * N
//   4  4  length of the content             4      4      1
//   8  -  content (a zlib stream            8      4      N, extension length in characters,
//         when compressed)                                its NUL included
//                                          12      2 * N  extension, UTF-16LE, NUL-terminated
//                                           H      rest   the file's bytes
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/byte_view.h"

namespace records {

enum class AttachmentBlobResult {
  kOk,
  kTooShort,       // shorter than the wrapper
  kBadWrapper,     // a compression flag other than 0 or 1, or a content length out of reach
  kInflateFailed,  // the zlib stream is damaged or ends early
  kBadHeader,      // the content's header does not fit the content
};

struct AttachmentBlob {
  bool compressed = false;
  std::string extension;      // from the content header (UTF-8), may be empty
  std::vector<uint8_t> data;  // the file's bytes
};

// Decompressed content never grows beyond this, whatever the wrapper states.
constexpr uint32_t kMaxAttachmentContent = 256u * 1024 * 1024;

AttachmentBlobResult ParseAttachmentBlob(support::ByteView stored, AttachmentBlob& blob);

}  // namespace records
