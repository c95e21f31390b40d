// Fuzzes the attachment file-data parser: the wrapper, zlib inflation and the type header.
// Input: the stored FileData bytes.
#include <cstdint>

#include "records/attachment_blob.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  records::AttachmentBlob blob;
  const records::AttachmentBlobResult result = records::ParseAttachmentBlob(support::ByteView(data, size), blob);
  if (result == records::AttachmentBlobResult::kOk && blob.data.size() > records::kMaxAttachmentContent)
    __builtin_trap();
  return 0;
}
