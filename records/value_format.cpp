// FormatField's dispatch and the formatters of integers, binary data, GUIDs and text.
#include "records/value_format.h"

#include <cinttypes>
#include <cstdio>

#include "records/calculated_columns.h"
#include "records/complex_columns.h"
#include "records/extended_types.h"
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
  static constexpr char kDigits[] = "0123456789ABCDEF";
  text.assign("{");
  const auto hex = [&](uint32_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0x0F];
  };
  hex(page.u32(position), 8);
  text += '-';
  hex(page.u16(position + 4), 4);
  text += '-';
  hex(page.u16(position + 6), 4);
  text += '-';
  for (int64_t i = 8; i < 16; ++i) {
    if (i == 10) text += '-';
    hex(page.u8(position + i), 2);
  }
  text += '}';
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

std::string FormatComplex(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column,
                          int64_t position) {
  if (!page.contains(position, 4)) return "NULL";
  const int32_t key = page.i32(position);
  ComplexKind kind = ComplexKind::kUnknown;
  ComplexCell cell = ComplexColumnCell(recovery, column, key, &kind);
  // A column whose data table cannot be found still shows the key its row holds.
  return kind == ComplexKind::kUnknown ? std::to_string(key) : cell.text;
}

int FormatField(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column,
                int64_t position, int64_t length, std::string& text) {
  if (IsCalculated(column)) return FormatCalculated(recovery, page, column, position, length, text);
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
    case kTypeLargeNumber: text = FormatLargeNumber(page, position); break;
    case kTypeDateExtended: text = FormatExtendedDate(page, position); break;
    case kTypeAttachment: text = FormatComplex(recovery, page, column, position); break;
    default:  // BIT shows its type name; a type of no name is not decoded
      text = GetTypeName(column);
      if (text.compare(0, kUnknownPrefixLength, "UNKNOWN-DATATYPE =") == 0) return -1;
      break;
  }
  return 1;
}

}  // namespace records
