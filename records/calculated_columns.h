// Calculated columns (newer files; descriptor extra flags 0xC0): the row keeps the stored
// result of the column's expression behind a prefix of its own, and the column's properties
// (the table's property blob in the catalog) hold the expression and the result's type.
//
// Value (always in a variable slot):
//    0  16  zero
//   16   4  L, the length of the result (0: a null result)
//   20   L  the result in its type's own encoding; BOOL as one byte (FF true), NUMERIC as
//           u16, u8 scale, u8 sign (0x80 negative), u32 high, u64 low: (high * 2^64 + low) / 10^scale
//   20+L 3  zero
#pragma once

#include <cstdint>
#include <string>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "records/property_blob.h"
#include "support/byte_view.h"
#include "support/value.h"

namespace records {

constexpr uint8_t kCalculatedExtFlags = 0xC0;
constexpr int64_t kCalculatedPrefix = 20;

bool IsCalculated(const analysis::Column& column);

// Gives each calculated column its expression and makes its type the result's type (from the
// properties), so that everything after treats it as a plain column of that type. Tables
// without calculated columns are left alone (no catalog read).
void ReadCalculatedColumns(analysis::MdbRecovery& recovery, analysis::Table& table);
// The same from an already parsed property blob.
void ApplyCalculatedProperties(const PropertyBlob& properties, analysis::Table& table);

// The result bytes inside a calculated value (empty for a null result or a damaged prefix).
support::ByteView CalculatedResult(support::ByteView value);

// The typed value of a calculated column's stored result (position and length: the whole
// variable slot); null for a null result or a damaged prefix.
void DecodeCalculatedValue(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column,
                           int64_t position, int64_t length, support::Value& value);

// A NUMERIC result (16 bytes); false when it is shorter.
bool DecodeCalculatedNumeric(support::ByteView result, support::NumericValue& numeric);

}  // namespace records
