// The MEMO and OLE object formatters.
#include <cstdio>

#include "format/text_codec.h"
#include "records/long_value.h"
#include "records/ole_files.h"
#include "records/ole_wrapper.h"

namespace records {

namespace {
std::string flagsMessage(const char* format, uint16_t flagsWord) {
  char text[64];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(flagsWord));
  return text;
}
}  // namespace

int FormatMemo(analysis::MdbRecovery& recovery, support::ByteView page, int64_t position, std::string& text,
               int64_t length) {
  if (length < kLongValueReferenceSize) return -1;
  const support::ByteView value = page.slice(position, length);
  if (value.empty()) return -1;
  const LongValueReference reference = ParseLongValueReference(value);
  if (reference.kind == LongValueKind::kUnhandled) {
    text = flagsMessage("Unhandled memo field flags = %04x\n", reference.flagsWord);
    return 1;
  }
  std::vector<uint8_t> data;
  const LongValueRead read = ReadLongValueData(recovery, value, reference, data);
  if (read == LongValueRead::kOutOfPage) return -1;
  text = format::DecodeJetText(support::ByteView(data));
  if (text.empty()) text = "NULL";
  return 1;
}

int FormatOle(analysis::MdbRecovery& recovery, support::ByteView page, int64_t position, std::string& text,
              int64_t length) {
  if (length < kLongValueReferenceSize) return -1;
  const support::ByteView value = page.slice(position, length);
  if (value.empty()) return -1;
  const LongValueReference reference = ParseLongValueReference(value);
  if (reference.kind == LongValueKind::kUnhandled) {
    text = flagsMessage("Unhandled OLE field flag = %04x\n", reference.flagsWord);
    return -1;
  }
  std::vector<uint8_t> data;
  if (ReadLongValueData(recovery, value, reference, data) != LongValueRead::kRead) return -1;
  ++recovery.oleFileCount;
  std::string extension;
  ParseOleWrapper(data, extension);
  text = WriteOleFile(recovery.oleFileCount, extension, data);
  return 1;
}

}  // namespace records
