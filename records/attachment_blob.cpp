// Attachment file data: the wrapper, zlib inflation bounded by the stated length, the header.
#include "records/attachment_blob.h"

#include <zlib.h>

#include <algorithm>

#include "support/text.h"

namespace records {

namespace {
constexpr int64_t kWrapperSize = 8;
constexpr int64_t kFixedHeaderSize = 12;

// Inflates the whole stream into out (sized to the stated length); false when the stream is
// damaged, ends early or holds more than stated.
bool inflateExactly(support::ByteView stream, uint32_t statedLength, std::vector<uint8_t>& out) {
  out.assign(statedLength, 0);
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  // zlib's interface takes non-const input; it never writes through it.
  z.next_in = const_cast<Bytef*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int status = inflate(&z, Z_FINISH);
  const bool done = status == Z_STREAM_END && z.total_out == statedLength;
  inflateEnd(&z);
  return done;
}
}  // namespace

AttachmentBlobResult ParseAttachmentBlob(support::ByteView stored, AttachmentBlob& blob) {
  blob = AttachmentBlob{};
  if (!stored.contains(0, kWrapperSize)) return AttachmentBlobResult::kTooShort;
  const uint32_t flag = stored.u32(0);
  const uint32_t contentLength = stored.u32(4);
  if (flag > 1 || contentLength > kMaxAttachmentContent) return AttachmentBlobResult::kBadWrapper;
  blob.compressed = flag == 1;

  std::vector<uint8_t> inflated;
  support::ByteView content;
  if (blob.compressed) {
    // Deflate cannot expand data more than about 1032 times: a larger stated length is damage.
    if (contentLength / 1032 > stored.size()) return AttachmentBlobResult::kBadWrapper;
    if (!inflateExactly(stored.from(kWrapperSize), contentLength, inflated))
      return AttachmentBlobResult::kInflateFailed;
    content = support::ByteView(inflated);
  } else {
    // Raw content: the stored bytes, at most the stated length.
    const support::ByteView rest = stored.from(kWrapperSize);
    content = rest.slice(0, std::min<int64_t>(contentLength, static_cast<int64_t>(rest.size())));
  }

  const uint32_t headerLength = content.u32(0);
  const uint32_t extensionChars = content.u32(8);
  if (!content.contains(0, kFixedHeaderSize) || headerLength < kFixedHeaderSize || headerLength > content.size() ||
      extensionChars > (headerLength - kFixedHeaderSize) / 2)
    return AttachmentBlobResult::kBadHeader;
  std::string extension = support::Utf16LeToUtf8(content.slice(kFixedHeaderSize, 2 * int64_t{extensionChars}));
  extension.erase(std::find(extension.begin(), extension.end(), '\0'), extension.end());
  blob.extension = std::move(extension);
  const support::ByteView file = content.from(headerLength);
  blob.data.assign(file.data(), file.data() + file.size());
  return AttachmentBlobResult::kOk;
}

}  // namespace records
