// Property blobs: the name table, then one chunk per object and column.
#include "records/property_blob.h"

#include <algorithm>

#include "support/text.h"

namespace records {

namespace {
constexpr int64_t kChunkHeader = 6;
constexpr int64_t kEntryHeader = 8;
constexpr uint16_t kNameTable = 0x80;
constexpr uint16_t kObjectChunk = 0x00;
constexpr uint16_t kColumnChunk = 0x01;

std::vector<std::string> readNames(support::ByteView chunk) {
  std::vector<std::string> names;
  for (int64_t at = kChunkHeader; chunk.contains(at, 2);) {
    const uint16_t length = chunk.u16(at);
    if (!chunk.contains(at + 2, length)) break;
    names.push_back(support::Utf16LeToUtf8(chunk.slice(at + 2, length)));
    at += 2 + length;
  }
  return names;
}

void readEntries(support::ByteView chunk, const std::vector<std::string>& names, PropertyBlob& properties) {
  const uint32_t headerLength = chunk.u32(kChunkHeader);
  const uint16_t nameLength = chunk.u16(kChunkHeader + 4);
  if (!chunk.contains(kChunkHeader + 6, nameLength)) return;
  const std::string column = support::Utf16LeToUtf8(chunk.slice(kChunkHeader + 6, nameLength));
  auto& byName = properties.byColumn[column];
  for (int64_t at = kChunkHeader + static_cast<int64_t>(headerLength); chunk.contains(at, kEntryHeader);) {
    const uint16_t entryLength = chunk.u16(at);
    if (entryLength < kEntryHeader || !chunk.contains(at, entryLength)) break;
    const uint16_t nameIndex = chunk.u16(at + 4);
    const int64_t dataLength = std::min<int64_t>(chunk.u16(at + 6), entryLength - kEntryHeader);
    if (nameIndex < names.size()) {
      Property& property = byName[names[nameIndex]];
      property.type = chunk.u8(at + 3);
      const support::ByteView data = chunk.slice(at + kEntryHeader, dataLength);
      property.data.assign(data.data(), data.data() + data.size());
    }
    at += entryLength;
  }
}
}  // namespace

const Property* PropertyBlob::find(const std::string& column, const std::string& property) const {
  const auto c = byColumn.find(column);
  if (c == byColumn.end()) return nullptr;
  const auto p = c->second.find(property);
  return p == c->second.end() ? nullptr : &p->second;
}

bool ParsePropertyBlob(support::ByteView blob, PropertyBlob& properties) {
  properties = PropertyBlob{};
  if (blob.u32(0) != 0x0032524D) return false;  // "MR2\0"
  std::vector<std::string> names;
  for (int64_t at = 4; blob.contains(at, kChunkHeader);) {
    const uint32_t length = blob.u32(at);
    if (length < kChunkHeader || !blob.contains(at, length)) break;
    const support::ByteView chunk = blob.slice(at, length);
    const uint16_t kind = chunk.u16(4);
    if (kind == kNameTable)
      names = readNames(chunk);
    else if (kind == kObjectChunk || kind == kColumnChunk)
      readEntries(chunk, names, properties);
    at += length;
  }
  return true;
}

}  // namespace records
