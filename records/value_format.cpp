// FormatField's dispatch and the formatters of integers, binary data, GUIDs and text.
#include "records/value_format.h"

#include <cinttypes>
#include <cstdio>

#include "records/jet_text.h"
#include "records/long_value.h"
#include "records/type_names.h"

namespace records {

namespace {
constexpr const char* kNull = "NULL";
constexpr size_t kUnknownPrefixLength = 18;  // "UNKNOWN-DATATYPE ="

// Empties the text and says false when the value's bytes do not lie inside the page.
bool fits(support::ByteView page, int64_t position, int64_t size, std::string& text) {
  if (page.contains(position, size)) return true;
  text.clear();
  return false;
}
}  // namespace

int FormatByte(support::ByteView page, int64_t position, std::string& text) {
  if (!fits(page, position, 1, text)) return 0;
  text = std::to_string(page.u8(position));
  return 1;
}

int FormatInt(support::ByteView page, int64_t position, std::string& text) {
  if (!fits(page, position, 2, text)) return 0;
  text = std::to_string(page.i16(position));
  return 1;
}

int FormatLong(support::ByteView page, int64_t position, std::string& text) {
  if (!fits(page, position, 4, text)) return 0;
  text = std::to_string(page.i32(position));
  return 1;
}

int FormatBinary(support::ByteView page, int64_t position, std::string& text, int64_t length) {
  if (!page.contains(position, length)) return -1;
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(static_cast<size_t>(length) * 2);
  for (int64_t i = 0; i < length; ++i) {
    const uint8_t byte = page.u8(position + i);
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  text = hex.empty() ? kNull : hex;
  return 1;
}

// Registry form: the first three groups little-endian, the last eight bytes as stored.
int FormatGuid(support::ByteView page, int64_t position, std::string& text) {
  if (!fits(page, position, 16, text)) return 0;
  char out[40];
  std::snprintf(out, sizeof out, "{%08" PRIX32 "-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", page.u32(position),
                page.u16(position + 4), page.u16(position + 6), page.u8(position + 8), page.u8(position + 9),
                page.u8(position + 10), page.u8(position + 11), page.u8(position + 12), page.u8(position + 13),
                page.u8(position + 14), page.u8(position + 15));
  text = out;
  return 1;
}

int FormatText(support::ByteView page, int64_t position, std::string& text, int64_t length) {
  if (length <= 0) {
    text = kNull;
    return 1;
  }
  if (!fits(page, position, length, text)) return 0;
  text = DecodeJetText(page.slice(position, length));
  if (text.empty()) text = kNull;
  return 1;
}

int FormatField(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column,
                int64_t position, int64_t length, std::string& text) {
  const std::string typeName = GetTypeName(column);
  if (typeName.compare(0, kUnknownPrefixLength, "UNKNOWN-DATATYPE =") == 0) {
    text = typeName;
    return -1;
  }
  switch (column.type) {
    case kTypeByte: FormatByte(page, position, text); break;
    case kTypeInt: FormatInt(page, position, text); break;
    case kTypeLong: FormatLong(page, position, text); break;
    case kTypeCurrency: FormatCurrency(page, position, text); break;
    case kTypeSingle: FormatSingle(page, position, text); break;
    case kTypeDouble: FormatDouble(page, position, text); break;
    case kTypeDate: FormatDate(page, position, text); break;
    case kTypeBinary: FormatBinary(page, position, text, length); break;
    case kTypeText: FormatText(page, position, text, length); break;
    case kTypeOle: FormatOle(recovery, page, position, text, length); break;
    case kTypeMemo: FormatMemo(recovery, page, position, text, length); break;
    case kTypeGuid: FormatGuid(page, position, text); break;
    case kTypeNumeric: FormatNumeric(page, position, text, column.precision, column.scale); break;
    default: text = typeName; break;  // BIT and ATTACHMENT
  }
  return 1;
}

}  // namespace records
