// What a table is made of, as the writer lays it out: columns with their storage, indexes,
// and the places each column takes in a row (fixed offset or variable slot).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jet4 {

// Column type codes as stored in a column descriptor.
enum class ColumnType : uint8_t {
  kBool = 0x01,
  kByte = 0x02,
  kInt = 0x03,
  kLong = 0x04,
  kCurrency = 0x05,
  kSingle = 0x06,
  kDouble = 0x07,
  kDateTime = 0x08,
  kBinary = 0x09,
  kText = 0x0A,
  kOle = 0x0B,
  kMemo = 0x0C,
  kGuid = 0x0F,
  kNumeric = 0x10,
};

// Column descriptor flags (byte 0x0F) and extended flags (byte 0x10).
constexpr uint8_t kColumnFixed = 0x01;
constexpr uint8_t kColumnAlways = 0x02;  // set on every column the engine writes
constexpr uint8_t kColumnAutoNumber = 0x04;
constexpr uint8_t kColumnSystem = 0x10;      // on the engine's own system-table columns
constexpr uint8_t kColumnSecurity = 0x20;    // MSysObjects.Owner, MSysACEs.SID
constexpr uint8_t kColumnCompressed = 0x01;  // extended flag: compressed text

struct ColumnDef {
  std::string name;
  ColumnType type = ColumnType::kLong;
  uint16_t length = 0;  // bytes: TEXT 2 per character, BINARY its size, MEMO/OLE 0, BOOL 1
  uint8_t flags = kColumnAlways;
  uint8_t extFlags = 0;
  uint8_t precision = 0;  // NUMERIC only
  uint8_t scale = 0;

  bool isFixed() const { return (flags & kColumnFixed) != 0; }
  bool isLongValue() const { return type == ColumnType::kMemo || type == ColumnType::kOle; }
  bool isAutoNumber() const { return (flags & kColumnAutoNumber) != 0; }
  bool isText() const { return type == ColumnType::kText || type == ColumnType::kMemo; }
};

// Real-index flags (byte 0x2E of a real-index entry).
constexpr uint8_t kIndexUnique = 0x01;
constexpr uint8_t kIndexIgnoreNulls = 0x02;
constexpr uint8_t kIndexRequired = 0x08;
constexpr uint8_t kIndexAlways = 0x80;  // set on every real index seen

enum class IndexKind : uint8_t { kNormal = 0, kPrimaryKey = 1 };

struct IndexDef {
  std::string name;
  std::vector<uint16_t> columns;  // column numbers, all ascending
  uint8_t flags = kIndexAlways;
  IndexKind kind = IndexKind::kNormal;
};

constexpr uint8_t kTableUser = 0x4E;
constexpr uint8_t kTableSystem = 0x53;

struct TableDef {
  std::string name;
  uint8_t tableType = kTableUser;
  std::vector<ColumnDef> columns;  // in column-number order: column i has number i
  std::vector<IndexDef> indexes;   // index i is real index i and logical index i
};

// Where each column sits in a row; columns in number order.
struct TableLayout {
  std::vector<int> fixedOffset;    // fixed columns: offset in the fixed area, else -1
  std::vector<int> variableIndex;  // variable columns: slot, else the count of variable columns before it
  int fixedSize = 0;
  int variableCount = 0;
  int longValueCount = 0;
};

TableLayout LayOut(const TableDef& table);

}  // namespace jet4
