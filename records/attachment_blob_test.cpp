// The attachment file-data parser on blobs built in code: raw and deflated content, the type
// header, and a "corrupt it" table (every truncation, bad flags and lengths, damaged streams).
#include "records/attachment_blob.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "tests/support/page_builder.h"

namespace {

using records::AttachmentBlob;
using records::AttachmentBlobResult;
using testsupport::Le32;

std::vector<uint8_t> cat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Header (length, 1, extension characters with the NUL, the extension) and the file's bytes.
std::vector<uint8_t> content(const std::string& extension, const std::string& file) {
  std::vector<uint8_t> ext;
  for (char c : extension) ext.insert(ext.end(), {static_cast<uint8_t>(c), 0});
  ext.insert(ext.end(), {0, 0});
  const auto chars = static_cast<uint32_t>(extension.size() + 1);
  std::vector<uint8_t> out = cat(cat(cat(Le32(12 + 2 * chars), Le32(1)), Le32(chars)), ext);
  return cat(out, std::vector<uint8_t>(file.begin(), file.end()));
}

std::vector<uint8_t> raw(const std::vector<uint8_t>& body) {
  return cat(cat(Le32(0), Le32(static_cast<uint32_t>(body.size()))), body);
}

std::vector<uint8_t> deflated(const std::vector<uint8_t>& body) {
  uLongf size = compressBound(body.size());
  std::vector<uint8_t> stream(size);
  EXPECT_EQ(compress2(stream.data(), &size, body.data(), body.size(), 3), Z_OK);
  stream.resize(size);
  return cat(cat(Le32(1), Le32(static_cast<uint32_t>(body.size()))), stream);
}

AttachmentBlobResult parse(const std::vector<uint8_t>& stored, AttachmentBlob& blob) {
  return records::ParseAttachmentBlob(support::ByteView(stored), blob);
}

TEST(AttachmentBlobTest, RawAndDeflatedContent) {
  const std::string text = "this is some test data for attachment.";
  struct Case {
    const char* what;
    std::vector<uint8_t> stored;
    bool compressed;
    const char* extension;
    std::string data;
  } cases[] = {
      {"raw", raw(content("png", "\x89PNG\r\n")), false, "png", "\x89PNG\r\n"},
      {"deflated", deflated(content("txt", text)), true, "txt", text},
      {"no extension", deflated(content("", "theme")), true, "", "theme"},
      {"empty file", raw(content("bin", "")), false, "bin", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    AttachmentBlob blob;
    ASSERT_EQ(parse(c.stored, blob), AttachmentBlobResult::kOk);
    EXPECT_EQ(blob.compressed, c.compressed);
    EXPECT_EQ(blob.extension, c.extension);
    EXPECT_EQ(std::string(blob.data.begin(), blob.data.end()), c.data);
  }
}

TEST(AttachmentBlobTest, DamagedBlobsEndCleanly) {
  const std::vector<uint8_t> good = deflated(content("txt", std::string(300, 'a')));
  // Every truncation of a deflated blob: too short, or a stream that ends early.
  for (size_t length = 0; length < good.size(); ++length) {
    AttachmentBlob blob;
    const auto result =
        parse(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)), blob);
    EXPECT_NE(result, AttachmentBlobResult::kOk) << length;
  }
  std::vector<uint8_t> flipped = good;
  flipped[12] ^= 0xFF;  // inside the stream
  std::vector<uint8_t> overstated = good;
  overstated[4] += 1;  // one byte more than the stream holds
  const std::vector<uint8_t> body = content("txt", "abc");
  struct Case {
    const char* what;
    std::vector<uint8_t> stored;
    AttachmentBlobResult expected;
  } cases[] = {
      {"unknown flag", cat(cat(Le32(2), Le32(4)), body), AttachmentBlobResult::kBadWrapper},
      {"stated length beyond any stream", cat(cat(Le32(1), Le32(0x7FFFFFFF)), body), AttachmentBlobResult::kBadWrapper},
      {"damaged stream", flipped, AttachmentBlobResult::kInflateFailed},
      {"stream shorter than stated", overstated, AttachmentBlobResult::kInflateFailed},
      {"header past the content", raw(cat(cat(cat(Le32(400), Le32(1)), Le32(1)), {0, 0})),
       AttachmentBlobResult::kBadHeader},
      {"header below its fixed part", raw(cat(cat(Le32(4), Le32(1)), Le32(0))), AttachmentBlobResult::kBadHeader},
      {"extension longer than the header", raw(cat(cat(cat(Le32(14), Le32(1)), Le32(0xFFFFFFFF)), {0, 0})),
       AttachmentBlobResult::kBadHeader},
      {"raw content cut short", cat(cat(Le32(0), Le32(100)), {14, 0}), AttachmentBlobResult::kBadHeader},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    AttachmentBlob blob;
    EXPECT_EQ(parse(c.stored, blob), c.expected);
  }
}

}  // namespace
