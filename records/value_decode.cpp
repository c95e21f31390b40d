// DecodeValue's dispatch and the fixed-size and in-row values.
#include "records/value_decode.h"

#include <algorithm>
#include <string>

#include "format/text_codec.h"
#include "records/calculated_columns.h"
#include "records/complex_columns.h"
#include "records/extended_types.h"
#include "records/type_names.h"

namespace records {

namespace {
using support::ValueKind;

constexpr int kMaxNumericWidth = 64;  // precision and scale are single bytes; wider is damage
constexpr int64_t kGuidSize = 16;
constexpr int64_t kNumericSize = 17;

using Magnitude = unsigned __int128;

std::string decimalDigits(Magnitude value) {
  char digits[40];  // 2^128 has 39 decimal digits
  size_t at = sizeof digits;
  do {
    digits[--at] = static_cast<char>('0' + static_cast<int>(value % 10));
    value /= 10;
  } while (value != 0);
  return std::string(digits + at, digits + sizeof digits);
}

void setInteger(support::Value& value, ValueKind kind, int64_t integer) {
  value.kind = kind;
  value.integer = integer;
}

void setReal(support::Value& value, ValueKind kind, double real) {
  value.kind = kind;
  value.real = real;
}

void setBytes(support::Value& value, ValueKind kind, support::ByteView bytes) {
  value.kind = kind;
  value.bytes.assign(bytes.data(), bytes.data() + bytes.size());
}

// Value layout (17 bytes):
//   0      1   sign: 0x80 negative
//   1..16  16  magnitude: four little-endian 32-bit words, most significant first
void setNumeric(support::Value& value, support::ByteView page, int64_t position, int precision, int scale) {
  Magnitude magnitude = 0;
  for (int word = 0; word < 4; ++word) magnitude = (magnitude << 32) | page.u32(position + 1 + 4 * word);
  value.kind = ValueKind::kNumeric;
  value.numeric.negative = (page.u8(position) & 0x80) != 0;
  value.numeric.precision = static_cast<uint8_t>(std::clamp(precision, 0, kMaxNumericWidth));
  value.numeric.scale = static_cast<uint8_t>(std::clamp(scale, 0, kMaxNumericWidth));
  value.numeric.digits = decimalDigits(magnitude);
}

// The size of a fixed-size type's value; 0 for the others.
int64_t fixedSize(int type) {
  switch (type) {
    case kTypeByte: return 1;
    case kTypeInt: return 2;
    case kTypeLong:
    case kTypeSingle: return 4;
    case kTypeCurrency:
    case kTypeDouble:
    case kTypeDate: return 8;
    case kTypeGuid: return kGuidSize;
    case kTypeNumeric: return kNumericSize;
    case kTypeLargeNumber: return kLargeNumberSize;
    case kTypeDateExtended: return kDateExtendedSize - 3;  // the ":7" trailer is not needed
    case kTypeAttachment: return 4;                        // the key into the column's data table
    default: return 0;
  }
}
}  // namespace

DecodeStatus DecodeValue(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column,
                         int64_t position, int64_t length, support::Value& value) {
  value.clear();
  if (IsCalculated(column)) {
    DecodeCalculatedValue(recovery, page, column, position, length, value);
    return DecodeStatus::kDecoded;
  }
  const int64_t size = fixedSize(column.type);
  if (size > 0 && !page.contains(position, size)) return DecodeStatus::kOutOfPage;
  switch (column.type) {
    case kTypeByte: setInteger(value, ValueKind::kByte, page.u8(position)); break;
    case kTypeInt: setInteger(value, ValueKind::kInt16, page.i16(position)); break;
    case kTypeLong: setInteger(value, ValueKind::kInt32, page.i32(position)); break;
    case kTypeCurrency: setInteger(value, ValueKind::kCurrency, static_cast<int64_t>(page.u64(position))); break;
    case kTypeSingle: setReal(value, ValueKind::kSingle, page.f32(position)); break;
    case kTypeDouble: setReal(value, ValueKind::kDouble, page.f64(position)); break;
    case kTypeDate: setReal(value, ValueKind::kDate, page.f64(position)); break;
    case kTypeGuid: setBytes(value, ValueKind::kGuid, page.slice(position, kGuidSize)); break;
    case kTypeNumeric: setNumeric(value, page, position, column.precision, column.scale); break;
    case kTypeBinary:
      // A value that does not lie inside the page stays null; an empty one is an empty binary.
      if (page.contains(position, length)) setBytes(value, ValueKind::kBinary, page.slice(position, length));
      break;
    case kTypeText:
      if (length <= 0) {
        value.kind = ValueKind::kText;  // a zero-length text: present and empty
      } else if (page.contains(position, length)) {
        value.kind = ValueKind::kText;
        value.text = format::DecodeJetText(page.slice(position, length));
      }
      break;
    case kTypeMemo: DecodeMemoValue(recovery, page, position, length, value); break;
    case kTypeOle: DecodeOleValue(recovery, page, position, length, value); break;
    case kTypeLargeNumber: value = DecodeLargeNumber(page.slice(position, kLargeNumberSize)); break;
    case kTypeDateExtended: value = DecodeExtendedDate(page.from(position)); break;
    case kTypeAttachment:
      // A column whose data table cannot be read keeps the key its row holds.
      if (!ComplexColumnValue(recovery, column, page.i32(position), value))
        setInteger(value, ValueKind::kInt32, page.i32(position));
      break;
    case kTypeBit: return DecodeStatus::kNoValueForm;
    default:  // the codes of no name: the stored bytes, uninterpreted
      if (length > 0 && page.contains(position, length))
        setBytes(value, ValueKind::kBinary, page.slice(position, length));
      return DecodeStatus::kNoValueForm;
  }
  return DecodeStatus::kDecoded;
}

}  // namespace records
