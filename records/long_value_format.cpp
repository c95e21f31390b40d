// The typed MEMO and OLE object values, and their legacy text formatters.
#include <cstdio>

#include "format/text_codec.h"
#include "records/long_value.h"
#include "records/ole_files.h"
#include "records/ole_wrapper.h"
#include "records/value_decode.h"

namespace records {

namespace {
std::string flagsMessage(const char* format, uint16_t flagsWord) {
  char text[64];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(flagsWord));
  return text;
}

// The value's bytes in the row and its reference; false when the value is shorter than a reference.
bool referenceOf(support::ByteView page, int64_t position, int64_t length, support::ByteView& value,
                 LongValueReference& reference) {
  if (length < kLongValueReferenceSize) return false;
  value = page.slice(position, length);
  if (value.empty()) return false;
  reference = ParseLongValueReference(value);
  return true;
}
}  // namespace

bool DecodeMemoValue(analysis::MdbRecovery& recovery, support::ByteView page, int64_t position, int64_t length,
                     support::Value& value) {
  value.clear();
  support::ByteView bytes;
  LongValueReference reference;
  if (!referenceOf(page, position, length, bytes, reference)) return false;
  if (reference.kind == LongValueKind::kUnhandled) {
    value.kind = support::ValueKind::kText;
    value.text = flagsMessage("Unhandled memo field flags = %04x\n", reference.flagsWord);
    return true;
  }
  std::vector<uint8_t> data;
  const LongValueRead read = ReadLongValueData(recovery, bytes, reference, data);
  if (read == LongValueRead::kOutOfPage) return false;
  if (read == LongValueRead::kMissing) return true;  // no long-value row: nothing found, null
  value.kind = support::ValueKind::kText;
  value.text = format::DecodeJetText(support::ByteView(data));
  return true;
}

void DecodeOleValue(analysis::MdbRecovery& recovery, support::ByteView page, int64_t position, int64_t length,
                    support::Value& value) {
  value.clear();
  support::ByteView bytes;
  LongValueReference reference;
  if (!referenceOf(page, position, length, bytes, reference) || reference.kind == LongValueKind::kUnhandled) return;
  if (ReadLongValueData(recovery, bytes, reference, value.bytes) != LongValueRead::kRead) {
    value.bytes.clear();
    return;
  }
  value.kind = support::ValueKind::kLongBinary;
  value.object = InspectOleWrapper(support::ByteView(value.bytes));
}

int FormatMemo(analysis::MdbRecovery& recovery, support::ByteView page, int64_t position, std::string& text,
               int64_t length) {
  support::Value value;
  if (!DecodeMemoValue(recovery, page, position, length, value)) return -1;
  text = value.isNull() ? "NULL" : value.text;
  return 1;
}

std::string OleObjectFile(analysis::MdbRecovery& recovery, const support::Value& value) {
  ++recovery.oleFileCount;
  const auto inner = value.bytes.begin() + static_cast<std::ptrdiff_t>(value.object.innerOffset);
  const std::vector<uint8_t> object(inner, inner + static_cast<std::ptrdiff_t>(value.object.innerLength));
  return WriteOleFile(recovery.oleFileCount, value.object.extension, object);
}

int FormatOle(analysis::MdbRecovery& recovery, support::ByteView page, int64_t position, std::string& text,
              int64_t length) {
  support::Value value;
  DecodeOleValue(recovery, page, position, length, value);
  if (value.isNull()) {
    support::ByteView bytes;
    LongValueReference reference;
    if (referenceOf(page, position, length, bytes, reference) && reference.kind == LongValueKind::kUnhandled)
      text = flagsMessage("Unhandled OLE field flag = %04x\n", reference.flagsWord);
    return -1;
  }
  text = OleObjectFile(recovery, value);
  return 1;
}

}  // namespace records
