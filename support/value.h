// A decoded column value that knows its type: made by the row decoder, turned into text only at
// the edge that shows it (grid, CLI text), and taken as it is by every writer (CSV, JSON, the
// Access target, SQLite). Nothing in-band: a null is a kind, never a text "NULL".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace support {

enum class ValueKind : uint8_t {
  kNull,
  kBoolean,       // integer 0 or 1
  kByte,          // integer 0..255
  kInt16,         // integer
  kInt32,         // integer
  kInt64,         // integer (Large Number)
  kCurrency,      // integer: the stored 64-bit amount in ten-thousandths
  kSingle,        // real: the stored 32-bit float, widened exactly
  kDouble,        // real
  kDate,          // real: the stored day count since 1899-12-30 (fraction = time of day)
  kDateExtended,  // integer: 100-nanosecond ticks since 0001-01-01 00:00:00
  kNumeric,       // numeric
  kGuid,          // bytes: the 16 stored bytes
  kText,          // text: UTF-8
  kBinary,        // bytes: the stored bytes (BINARY)
  kLongBinary,    // bytes: the stored bytes (OLE object, wrapper included); object says what is inside
  kList,          // items: a multi-value column's values
  kAttachments,   // attachments: an attachment column's files
};

// NUMERIC (decimal): value = (negative ? -1 : 1) * digits / 10^scale. digits holds the decimal
// digits of the stored 96-bit (or wider) magnitude, without leading zeros ("0" for zero).
struct NumericValue {
  bool negative = false;
  uint8_t precision = 0;
  uint8_t scale = 0;
  std::string digits = "0";
};

// What the OLE wrapper parser found inside a long binary value.
struct ObjectInfo {
  bool wrapped = false;          // the Access OLE header was recognised
  std::string extension = "ole";  // the inner object's file type ("bmp", "pdf", ...)
  size_t innerOffset = 0;         // the inner object's bytes within Value::bytes
  size_t innerLength = 0;
};

struct Value;

struct Attachment {
  std::string name;  // file name as stored (UTF-8)
  std::string type;  // file type (extension) as stored
  std::vector<uint8_t> data;  // the file's bytes, decompressed
};

struct Value {
  ValueKind kind = ValueKind::kNull;
  int64_t integer = 0;
  double real = 0;
  NumericValue numeric;
  std::string text;
  std::vector<uint8_t> bytes;
  ObjectInfo object;
  std::vector<Value> items;
  std::vector<Attachment> attachments;

  bool isNull() const { return kind == ValueKind::kNull; }
  void clear() {
    kind = ValueKind::kNull;
    integer = 0;
    real = 0;
    text.clear();
    bytes.clear();
    items.clear();
    attachments.clear();
    object = ObjectInfo{};
  }
};

}  // namespace support
