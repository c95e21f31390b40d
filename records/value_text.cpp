// AppendValueText: the display text of every value kind, and the hexadecimal and GUID forms.
#include "records/value_text.h"

#include <charconv>

#include "records/extended_types.h"
#include "records/type_names.h"

namespace records {

namespace {
using support::ValueKind;

void appendInteger(int64_t value, std::string& out) {
  char text[24];
  size_t at = sizeof text;
  uint64_t magnitude = value < 0 ? ~static_cast<uint64_t>(value) + 1 : static_cast<uint64_t>(value);
  do {
    text[--at] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) text[--at] = '-';
  out.append(text + at, sizeof text - at);
}

// Multi-value items joined by "; "; a saved version (a list of its date and its text) as
// "text (date)".
void appendItems(const analysis::Column& column, const support::Value& value, std::string& out) {
  for (size_t i = 0; i < value.items.size(); ++i) {
    if (i) out += "; ";
    const support::Value& item = value.items[i];
    if (item.kind == ValueKind::kList && item.items.size() == 2 && item.items[0].kind == ValueKind::kDate) {
      AppendValueText(column, item.items[1], out);
      out += " (" + DateText(item.items[0].real) + ")";
    } else {
      AppendValueText(column, item, out);
    }
  }
}

// "2 files: a.jpg, b.pdf"; nothing for no files.
void appendAttachments(const support::Value& value, std::string& out) {
  const size_t count = value.attachments.size();
  if (count == 0) return;
  out += std::to_string(count) + (count == 1 ? " file: " : " files: ");
  for (size_t i = 0; i < count; ++i) {
    if (i) out += ", ";
    out += value.attachments[i].name;
  }
}
}  // namespace

bool HasValueForm(int type) {
  switch (type) {
    case kTypeByte:
    case kTypeInt:
    case kTypeLong:
    case kTypeCurrency:
    case kTypeSingle:
    case kTypeDouble:
    case kTypeDate:
    case kTypeBinary:
    case kTypeText:
    case kTypeOle:
    case kTypeMemo:
    case kTypeGuid:
    case kTypeNumeric:
    case kTypeLargeNumber:
    case kTypeDateExtended:
    case kTypeAttachment: return true;
    default: return false;
  }
}

void AppendHexText(const uint8_t* bytes, size_t size, std::string& out) {
  static constexpr char kDigits[] = "0123456789abcdef";
  const size_t at = out.size();
  out.resize(at + 2 * size);
  char* hex = out.data() + at;
  for (size_t i = 0; i < size; ++i) {
    hex[2 * i] = kDigits[bytes[i] >> 4];
    hex[2 * i + 1] = kDigits[bytes[i] & 0x0F];
  }
}

// Registry form: the first three groups little-endian, the last eight bytes as stored.
void AppendGuidText(const uint8_t* bytes, std::string& out) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto hex = [&](uint8_t byte) {
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
  };
  static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  out += '{';
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
    hex(bytes[kOrder[i]]);
  }
  out += '}';
}

void AppendValueText(const analysis::Column& column, const support::Value& value, std::string& out) {
  if (!HasValueForm(column.type) && column.type != kTypeBit && !value.isNull()) {
    out += GetTypeName(column);
    return;
  }
  switch (value.kind) {
    case ValueKind::kNull: out += "NULL"; break;
    case ValueKind::kBoolean:
    case ValueKind::kByte:
    case ValueKind::kInt16:
    case ValueKind::kInt32:
    case ValueKind::kInt64: appendInteger(value.integer, out); break;
    case ValueKind::kDateExtended: out += ExtendedDateText(value.integer); break;
    case ValueKind::kCurrency: AppendCurrencyText(value.integer, out); break;
    case ValueKind::kSingle: AppendSingleText(static_cast<float>(value.real), out); break;
    case ValueKind::kDouble: AppendDoubleText(value.real, out); break;
    case ValueKind::kDate: out += DateText(value.real); break;
    case ValueKind::kNumeric: AppendNumericText(value.numeric, out); break;
    case ValueKind::kGuid:
      if (value.bytes.size() == 16) AppendGuidText(value.bytes.data(), out);
      break;
    case ValueKind::kText: out += value.text; break;
    case ValueKind::kBinary:
    case ValueKind::kLongBinary: AppendHexText(value.bytes.data(), value.bytes.size(), out); break;
    case ValueKind::kList: appendItems(column, value, out); break;
    case ValueKind::kAttachments: appendAttachments(value, out); break;
  }
}

void AppendLosslessText(const analysis::Column& column, const support::Value& value, std::string& out) {
  char text[64];
  switch (value.kind) {
    case ValueKind::kSingle:
      out.append(text, std::to_chars(text, text + sizeof text, static_cast<float>(value.real)).ptr);
      return;
    case ValueKind::kDouble: out.append(text, std::to_chars(text, text + sizeof text, value.real).ptr); return;
    case ValueKind::kDate: {
      const std::string date = DateText(value.real, true);
      if (date != "NULL")
        out += date;
      else
        out.append(text, std::to_chars(text, text + sizeof text, value.real).ptr);
      return;
    }
    default: AppendValueText(column, value, out); return;
  }
}

std::string ValueText(const analysis::Column& column, const support::Value& value) {
  std::string text;
  AppendValueText(column, value, text);
  return text;
}

}  // namespace records
