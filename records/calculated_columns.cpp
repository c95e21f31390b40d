// Calculated columns: properties from the catalog, and the stored results.
#include "records/calculated_columns.h"

#include <algorithm>

#include "records/long_value.h"
#include "records/table_scan.h"
#include "records/type_names.h"
#include "records/value_decode.h"
#include "records/value_text.h"
#include "support/text.h"

namespace records {

namespace {
constexpr uint32_t kCatalogPage = 2;
constexpr int64_t kNumericResultSize = 16;

// A result type the value decoder knows (BIT included: its result is a byte); never a long
// binary, a complex column or a code of no name.
bool knownResultType(int type) {
  return type == kTypeBit || (HasValueForm(type) && type != kTypeOle && type != kTypeBinary && type != kTypeAttachment);
}

// The table's property blob from its catalog row (the last live row naming it).
std::vector<uint8_t> propertyBlobOf(analysis::MdbRecovery& recovery, uint32_t tableId) {
  std::vector<uint8_t> blob;
  analysis::Table catalog;
  if (recovery.ReadTableSchema(kCatalogPage, catalog) != 1) return blob;
  const analysis::Column* id = FindColumn(catalog, "Id");
  const analysis::Column* lvProp = FindColumn(catalog, "LvProp");
  if (id == nullptr || lvProp == nullptr) return blob;
  ScanTableRows(recovery, catalog, [&](const ScannedRow& row) {
    support::ByteView idBytes, stored;
    if (!row.value(*id, idBytes) || idBytes.u32(0) != tableId || !row.value(*lvProp, stored)) return true;
    std::vector<uint8_t> data;
    if (ReadLongValueData(recovery, stored, ParseLongValueReference(stored), data) == LongValueRead::kRead)
      blob = std::move(data);
    return true;
  });
  return blob;
}

// Numeric magnitude (high * 2^64 + low) in decimal digits.
std::string decimalDigits(uint32_t high, uint64_t low) {
  // Base 10^9 limbs, least significant first: multiply by 2^64 and add low, done in 32-bit steps.
  std::vector<uint32_t> limbs{0};
  const auto mulAdd = [&limbs](uint32_t factor, uint32_t add) {
    uint64_t carry = add;
    for (auto& limb : limbs) {
      const uint64_t v = static_cast<uint64_t>(limb) * factor + carry;
      limb = static_cast<uint32_t>(v % 1000000000u);
      carry = v / 1000000000u;
    }
    while (carry) {
      limbs.push_back(static_cast<uint32_t>(carry % 1000000000u));
      carry /= 1000000000u;
    }
  };
  for (uint32_t word : {high, static_cast<uint32_t>(low >> 32), static_cast<uint32_t>(low)}) {
    mulAdd(1u << 16, 0);
    mulAdd(1u << 16, word);
  }
  std::string digits = std::to_string(limbs.back());
  for (size_t i = limbs.size() - 1; i-- > 0;) {
    std::string part = std::to_string(limbs[i]);
    digits += std::string(9 - part.size(), '0') + part;
  }
  return digits;
}
}  // namespace

bool IsCalculated(const analysis::Column& column) {
  return (column.extFlags & kCalculatedExtFlags) != 0;
}

void ApplyCalculatedProperties(const PropertyBlob& properties, analysis::Table& table) {
  for (auto& column : table.columns) {
    if (!IsCalculated(column)) continue;
    if (const Property* expression = properties.find(column.name, "Expression"))
      column.expression = support::Utf16LeToUtf8(support::ByteView(expression->data));
    const Property* resultType = properties.find(column.name, "ResultType");
    if (resultType != nullptr && !resultType->data.empty() && knownResultType(resultType->data[0])) {
      column.type = resultType->data[0];
      // The descriptor's length (39 for fixed-size results) says nothing about the result.
      if (column.type == kTypeText) column.length = std::min(column.length, 255);
    }
  }
}

void ReadCalculatedColumns(analysis::MdbRecovery& recovery, analysis::Table& table) {
  if (std::none_of(table.columns.begin(), table.columns.end(), IsCalculated)) return;
  const std::vector<uint8_t> blob = propertyBlobOf(recovery, table.tdefPage);
  PropertyBlob properties;
  if (ParsePropertyBlob(support::ByteView(blob), properties)) ApplyCalculatedProperties(properties, table);
}

support::ByteView CalculatedResult(support::ByteView value) {
  const uint32_t length = value.u32(16);
  return value.slice(kCalculatedPrefix, length);
}

void DecodeCalculatedValue(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column,
                           int64_t position, int64_t length, support::Value& value) {
  value.clear();
  const support::ByteView result = CalculatedResult(page.slice(position, length));
  if (result.empty()) return;
  switch (column.type) {
    case kTypeBit:  // one byte, not the null-mask bit
      value.kind = support::ValueKind::kBoolean;
      value.integer = result.u8(0) != 0 ? 1 : 0;
      return;
    case kTypeNumeric:
      if (DecodeCalculatedNumeric(result, value.numeric)) value.kind = support::ValueKind::kNumeric;
      return;
    default: {
      analysis::Column plain = column;
      plain.extFlags = 0;
      DecodeValue(recovery, page, plain, result.data() - page.data(), static_cast<int64_t>(result.size()), value);
      return;
    }
  }
}

bool DecodeCalculatedNumeric(support::ByteView result, support::NumericValue& numeric) {
  if (!result.contains(0, kNumericResultSize)) return false;
  numeric.scale = result.u8(2);
  numeric.negative = (result.u8(3) & 0x80) != 0;
  numeric.digits = decimalDigits(result.u32(4), result.u64(8));
  // The result form has no precision of its own: as many digits as it holds.
  numeric.precision = static_cast<uint8_t>(std::max<size_t>(numeric.digits.size(), numeric.scale + 1u));
  return true;
}

}  // namespace records
