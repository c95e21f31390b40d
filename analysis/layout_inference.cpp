// Layout inference from rows. Three steps, each a small search over what the rows allow:
// the row shape (column count, slot count, fixed area) the most rows agree on; the split of
// the fixed area into typed columns that best explains the bytes; and the column numbers,
// matched to the null masks (a null value has no bytes, or zero bytes in the fixed area).
#include "analysis/layout_inference.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <string>

#include "analysis/row_shape.h"

namespace analysis {

namespace {
enum : int32_t {
  kBit = 1,
  kByte = 2,
  kInt = 3,
  kLong = 4,
  kCurrency = 5,
  kSingle = 6,
  kDouble = 7,
  kDate = 8,
  kBinary = 9,
  kText = 10,
  kOle = 11,
  kMemo = 12,
  kGuid = 15,
  kNumeric = 16,
};
constexpr size_t kSampleRows = 512;     // rows that decide the types
constexpr double kColumnPenalty = 0.5;  // in bytes: one wide column explains bytes better than two narrow
constexpr int32_t kTextLength = 255;    // what a definition allows a text column
constexpr int32_t kMaxBinaryLength = 510;
constexpr int32_t kNumericPrecision = 18;
constexpr double kFirstDate = -657434;   // 0100-01-01
constexpr double kLastDate = 2958465;    // 9999-12-31
constexpr double kDateMagnitude = 3653;  // dates lie at least ten years from 1899-12-30
constexpr size_t kMaxAssignmentStates = 1u << 22;

struct Candidate {
  int32_t type;
  int width;
};
constexpr Candidate kFixedCandidates[] = {{kByte, 1},   {kInt, 2},      {kLong, 4},  {kSingle, 4},
                                          {kDouble, 8}, {kCurrency, 8}, {kGuid, 16}, {kNumeric, 17}};

bool allZero(support::ByteView value) {
  for (size_t i = 0; i < value.size(); ++i)
    if (value.u8(static_cast<int64_t>(i)) != 0) return false;
  return true;
}

bool plausibleReal(double value, double smallest, double largest) {
  if (value == 0) return true;
  return std::isfinite(value) && std::fabs(value) >= smallest && std::fabs(value) <= largest;
}

// How well one stored value fits a type, from 0 (not at all) to 1.
double fit(int32_t type, support::ByteView value) {
  if (allZero(value)) return 1;
  switch (type) {
    case kByte: return 1;
    case kInt: return std::abs(value.i16(0)) <= 10000 ? 1 : 0.6;
    case kLong: return std::abs(static_cast<int64_t>(value.i32(0))) <= 10000000 ? 1 : 0.4;
    case kSingle: return plausibleReal(value.f32(0), 1e-5, 1e9) ? 1 : 0;
    case kDouble: {
      // A small integer in the low half is a LONG beside a 4-byte value, not a double's mantissa.
      const uint32_t low = value.u32(0);
      if (low != 0 && low < (1u << 24)) return 0.3;
      return plausibleReal(value.f64(0), 1e-10, 1e15) ? 1 : 0;
    }
    case kCurrency: {
      // Amounts are mostly whole cents: multiples of 100 in units of 1/10000.
      const int64_t units = static_cast<int64_t>(value.u64(0));
      if (units < -1000000000000000000 || units > 1000000000000000000) return 0;
      return units % 100 == 0 ? 1 : 0.3;
    }
    case kGuid:  // version 1 to 5 in the high nibble of byte 7, variant 10xx in byte 8
      return (value.u8(7) >> 4) >= 1 && (value.u8(7) >> 4) <= 5 && (value.u8(8) & 0xC0) == 0x80 ? 1 : 0.2;
    case kNumeric: return value.u8(0) == 0x00 || value.u8(0) == 0x80 ? 1 : 0;
    default: return 0;
  }
}

struct Segment {
  int32_t type = kByte;
  int offset = 0;  // in the fixed area
  int width = 1;
};

// Splits the fixed area into typed columns: the split whose columns explain the sampled rows'
// bytes best, each column costing a fixed penalty.
std::vector<Segment> splitFixedArea(const std::vector<support::ByteView>& areas, int size, double penalty) {
  std::vector<double> best(static_cast<size_t>(size) + 1, -std::numeric_limits<double>::infinity());
  std::vector<Segment> choice(static_cast<size_t>(size) + 1);
  best[0] = 0;
  for (int end = 1; end <= size; ++end) {
    for (const Candidate& candidate : kFixedCandidates) {
      const int start = end - candidate.width;
      if (start < 0 || !std::isfinite(best[static_cast<size_t>(start)])) continue;
      double total = 0;
      for (const support::ByteView& area : areas) total += fit(candidate.type, area.slice(start, candidate.width));
      const double mean = areas.empty() ? 1 : total / static_cast<double>(areas.size());
      const double score = best[static_cast<size_t>(start)] + candidate.width * mean - penalty;
      if (score > best[static_cast<size_t>(end)]) {
        best[static_cast<size_t>(end)] = score;
        choice[static_cast<size_t>(end)] = {candidate.type, start, candidate.width};
      }
    }
  }
  std::vector<Segment> segments;
  for (int end = size; end > 0; end = choice[static_cast<size_t>(end)].offset)
    segments.push_back(choice[static_cast<size_t>(end)]);
  std::reverse(segments.begin(), segments.end());
  return segments;
}

bool isDateValue(double days) {
  if (!std::isfinite(days) || days < kFirstDate || days > kLastDate || std::fabs(days) < kDateMagnitude) return false;
  // Dates carry whole milliseconds of a day.
  const double milliseconds = (days - std::floor(days)) * 86400000.0;
  return std::fabs(milliseconds - std::round(milliseconds)) < 0.05;
}

// An 8-byte real is a date when every value that is not zero is one.
int32_t realOrDate(const std::vector<support::ByteView>& areas, const Segment& segment) {
  bool anyValue = false;
  for (const support::ByteView& area : areas) {
    const support::ByteView value = area.slice(segment.offset, 8);
    if (allZero(value)) continue;
    if (!isDateValue(value.f64(0))) return kDouble;
    anyValue = true;
  }
  return anyValue ? kDate : kDouble;
}

bool looksLikeUtf16Text(support::ByteView bytes) {
  if (bytes.size() < 2 || bytes.size() % 2 != 0) return false;
  // Control characters other than tab and line ends do not occur in text.
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const uint16_t c = bytes.u16(static_cast<int64_t>(i));
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
  }
  return true;
}

bool looksLikeText(support::ByteView bytes) {
  return (bytes.u8(0) == 0xFF && bytes.u8(1) == 0xFE) || looksLikeUtf16Text(bytes);
}

// The first bytes of a long value: inline after the reference, or from its long-value row.
std::vector<uint8_t> longValueStart(support::ByteView reference, const PageSource& pages) {
  const uint32_t head = reference.u32(0);
  if (head & kLongValueInline) {
    const support::ByteView data = reference.from(kLongValueReferenceSize);
    return std::vector<uint8_t>(data.data(), data.data() + data.size());
  }
  if (!pages) return {};
  const uint32_t pointer = reference.u32(4);
  const std::vector<uint8_t> bytes = pages(pointer >> 8);
  const support::ByteView page(bytes);
  const int row = static_cast<int>(pointer & 0xFF);
  const int64_t entryAt = 14 + 2 * int64_t{row};
  if (!page.contains(entryAt, 2)) return {};
  const int64_t start = page.u16(entryAt) & 0x1FFF;
  const int64_t end = row == 0 ? static_cast<int64_t>(page.size()) : page.u16(entryAt - 2) & 0x1FFF;
  // A row of a chain starts with the pointer to the next part.
  const int64_t skip = (head & 0x40000000u) ? 0 : 4;
  const support::ByteView data = page.slice(start + skip, end - start - skip);
  return std::vector<uint8_t>(data.data(), data.data() + data.size());
}

bool isLongValueReference(support::ByteView value) {
  if (value.size() < kLongValueReferenceSize) return false;
  const uint32_t head = value.u32(0);
  if (head & kLongValueInline)
    return static_cast<int64_t>(value.size()) == kLongValueReferenceSize + (head & kLongValueLengthMask);
  return static_cast<int64_t>(value.size()) == kLongValueReferenceSize && (head & kLongValueLengthMask) > 0;
}

struct VariableType {
  int32_t type = kText;
  int32_t length = kTextLength;
};

// A slot's type is the one nearly all its values have: one damaged row must not turn a memo
// column into binary data.
VariableType classifySlot(const std::vector<support::ByteView>& values, const PageSource& pages) {
  size_t references = 0, texts = 0;
  int64_t longest = 0;
  for (const support::ByteView& value : values) {
    references += isLongValueReference(value) ? 1 : 0;
    texts += looksLikeText(value) ? 1 : 0;
    longest = std::max<int64_t>(longest, static_cast<int64_t>(value.size()));
  }
  const auto nearlyAll = [&](size_t count) { return 10 * count >= 9 * values.size(); };
  if (values.empty() || (nearlyAll(texts) && !nearlyAll(references))) return {};
  if (nearlyAll(references)) {
    int memo = 0, ole = 0;
    for (const support::ByteView& value : values) {
      if (!isLongValueReference(value)) continue;
      const std::vector<uint8_t> start = longValueStart(value, pages);
      if (start.empty()) continue;
      looksLikeText(support::ByteView(start)) ? ++memo : ++ole;
    }
    return {memo >= ole ? kMemo : kOle, 0};
  }
  return {kBinary, static_cast<int32_t>(std::min<int64_t>(longest, kMaxBinaryLength))};
}

struct SampleRow {
  support::ByteView bytes;
  RowShape shape;
};

enum class Slot : uint8_t { kFixed, kVariable, kExtra };

// Matches column numbers to the fixed columns (in offset order) and the variable slots (in slot
// order), both rising with the column number as the engine numbers them; the bits left over are
// BIT columns. The match that the null masks contradict least wins.
std::vector<Slot> assignColumnNumbers(const std::vector<SampleRow>& rows, const std::vector<Segment>& segments,
                                      int variableCount, int columnCount) {
  const size_t fixedCount = segments.size();
  const size_t slots = static_cast<size_t>(variableCount);
  const size_t bits = static_cast<size_t>(columnCount);
  std::vector<Slot> plan;
  if ((fixedCount + 1) * (slots + 1) * (bits + 1) > kMaxAssignmentStates) {
    plan.assign(fixedCount, Slot::kFixed);
    plan.insert(plan.end(), slots, Slot::kVariable);
    plan.resize(bits, Slot::kExtra);
    return plan;
  }
  // Contradictions: a null fixed column with bytes, a null slot with bytes; an empty slot whose
  // bit is set (an empty text) costs a little, so that real nulls decide.
  std::vector<double> fixedCost(fixedCount * bits, 0), slotCost(slots * bits, 0);
  for (const SampleRow& row : rows) {
    const support::ByteView fixedArea = row.bytes.slice(2, row.shape.fixedAreaSize);
    for (size_t c = 0; c < bits; ++c) {
      const bool present = row.shape.present(row.bytes, static_cast<int>(c));
      for (size_t f = 0; f < fixedCount && !present; ++f)
        if (!allZero(fixedArea.slice(segments[f].offset, segments[f].width))) fixedCost[f * bits + c] += 2;
      for (size_t k = 0; k < slots; ++k) {
        const bool empty = row.shape.slot(row.bytes, static_cast<int>(k)).empty();
        if (!present && !empty) slotCost[k * bits + c] += 2;
        if (present && empty) slotCost[k * bits + c] += 0.1;
      }
    }
  }
  const size_t width = (slots + 1), layer = (fixedCount + 1) * width;
  auto at = [&](size_t c, size_t f, size_t k) { return c * layer + f * width + k; };
  std::vector<double> cost((bits + 1) * layer, std::numeric_limits<double>::infinity());
  std::vector<Slot> step((bits + 1) * layer, Slot::kExtra);
  cost[at(0, 0, 0)] = 0;
  // Ties go to BIT columns at the end, then slots, so that without nulls to tell, the fixed
  // columns take the first numbers, the slots the next and BIT columns the last.
  for (size_t c = 0; c < bits; ++c)
    for (size_t f = 0; f <= fixedCount; ++f)
      for (size_t k = 0; k <= slots; ++k) {
        double& best = cost[at(c + 1, f, k)];
        auto consider = [&](double value, Slot how) {
          if (value < best - 1e-9) best = value, step[at(c + 1, f, k)] = how;
        };
        consider(cost[at(c, f, k)], Slot::kExtra);
        if (k > 0) consider(cost[at(c, f, k - 1)] + slotCost[(k - 1) * bits + c], Slot::kVariable);
        if (f > 0) consider(cost[at(c, f - 1, k)] + fixedCost[(f - 1) * bits + c], Slot::kFixed);
      }
  if (!std::isfinite(cost[at(bits, fixedCount, slots)])) return {};
  plan.resize(bits);
  size_t f = fixedCount, k = slots;
  for (size_t c = bits; c > 0; --c) {
    plan[c - 1] = step[at(c, f, k)];
    if (plan[c - 1] == Slot::kFixed) --f;
    if (plan[c - 1] == Slot::kVariable) --k;
  }
  return plan;
}

struct Shape {
  bool variableArea = false;
  int columnCount = 0;
  int variableCount = 0;
  int64_t fixedAreaSize = 0;
  int64_t rowsFitting = 0;
};

// The largest count that enough rows store: a row written before columns were added stores
// fewer, one damaged row a wild one.
int largestSupported(const std::map<int, int64_t>& counts, int64_t support) {
  int largest = -1;
  for (const auto& [count, rows] : counts)
    if (rows >= support) largest = count;
  return largest;
}

// The shape the rows agree on when read with or without a variable area (a table with
// variable columns stores a slot count of at least one).
Shape shapeOf(const std::vector<support::ByteView>& rows, bool variableArea) {
  std::vector<RowShape> read;
  RowShape one;
  std::map<int, int64_t> columnCounts, slotCounts;
  for (const support::ByteView& row : rows) {
    if (!ReadRowShape(row, variableArea, one) || (variableArea && one.variableCount == 0)) continue;
    ++columnCounts[one.columnCount];
    ++slotCounts[one.variableCount];
    read.push_back(one);
  }
  Shape shape;
  shape.variableArea = variableArea;
  // One row alone does not widen the table, unless there are hardly any rows.
  const int64_t total = static_cast<int64_t>(rows.size());
  const int64_t support = total < 4 ? 1 : std::max<int64_t>(2, total / 100);
  shape.columnCount = largestSupported(columnCounts, support);
  shape.variableCount = largestSupported(slotCounts, support);
  if (shape.columnCount <= 0 || shape.variableCount < 0) return Shape{};
  std::map<int64_t, int64_t> fixedSizes;
  for (const RowShape& row : read)
    if (row.columnCount == shape.columnCount) ++fixedSizes[row.fixedAreaSize];
  int64_t most = 0;
  for (const auto& [size, count] : fixedSizes)
    if (count > most) most = count, shape.fixedAreaSize = size;
  for (const RowShape& row : read)
    if (ShapeFits(row, shape.columnCount, shape.variableCount, shape.fixedAreaSize)) ++shape.rowsFitting;
  return shape;
}

Shape commonShape(const std::vector<support::ByteView>& rows) {
  const Shape withSlots = shapeOf(rows, true), fixedOnly = shapeOf(rows, false);
  return withSlots.rowsFitting > 0 && withSlots.rowsFitting >= fixedOnly.rowsFitting ? withSlots : fixedOnly;
}

Column makeColumn(int32_t type, int columnNumber) {
  Column column;
  column.type = type;
  column.columnNumber = columnNumber;
  column.rowColumnNumber = columnNumber;
  return column;
}
}  // namespace

InferredLayout InferRowLayout(const std::vector<support::ByteView>& rows, const PageSource& pages) {
  InferredLayout layout;
  const Shape shape = commonShape(rows);
  if (shape.rowsFitting == 0) {
    layout.rowsUnreadable = static_cast<int64_t>(rows.size());
    return layout;
  }
  std::vector<SampleRow> sample;
  for (const support::ByteView& row : rows) {
    if (sample.size() >= kSampleRows) break;
    SampleRow candidate{row, {}};
    if (!ReadRowShape(row, shape.variableArea, candidate.shape)) continue;
    if (!ShapeFits(candidate.shape, shape.columnCount, shape.variableCount, shape.fixedAreaSize)) continue;
    sample.push_back(candidate);
  }
  // The types come from the rows that hold the whole fixed area.
  std::vector<support::ByteView> areas;
  for (const SampleRow& row : sample)
    if (row.shape.fixedAreaSize == shape.fixedAreaSize) areas.push_back(row.bytes.slice(2, shape.fixedAreaSize));

  // Too many fixed columns for the column count: fewer, wider ones.
  std::vector<Segment> segments;
  std::vector<Slot> plan;
  for (double penalty = kColumnPenalty; penalty < 64; penalty *= 4) {
    segments = splitFixedArea(areas, static_cast<int>(shape.fixedAreaSize), penalty);
    if (segments.size() + static_cast<size_t>(shape.variableCount) > static_cast<size_t>(shape.columnCount)) continue;
    plan = assignColumnNumbers(sample, segments, shape.variableCount, shape.columnCount);
    break;
  }
  if (plan.empty()) {
    layout.rowsUnreadable = static_cast<int64_t>(rows.size());
    return layout;
  }

  size_t nextFixed = 0;
  int nextSlot = 0;
  for (size_t c = 0; c < plan.size(); ++c) {
    const int number = static_cast<int>(c);
    if (plan[c] == Slot::kFixed) {
      const Segment& segment = segments[nextFixed++];
      const int32_t type = segment.type == kDouble ? realOrDate(areas, segment) : segment.type;
      Column column = makeColumn(type, number);
      column.isFixed = true;
      column.fixedOffset = segment.offset;
      column.length = segment.width;
      if (type == kNumeric) column.precision = kNumericPrecision;
      layout.columns.push_back(column);
    } else if (plan[c] == Slot::kVariable) {
      std::vector<support::ByteView> values;
      for (const SampleRow& row : sample) {
        const support::ByteView value = row.shape.slot(row.bytes, nextSlot);
        if (!value.empty()) values.push_back(value);
      }
      const VariableType kind = classifySlot(values, pages);
      Column column = makeColumn(kind.type, number);
      column.variableIndex = nextSlot++;
      column.length = kind.length;
      layout.columns.push_back(column);
    } else {
      Column column = makeColumn(kBit, number);
      column.isFixed = true;
      column.fixedOffset = 0;
      column.length = 1;
      layout.columns.push_back(column);
    }
  }
  for (size_t i = 0; i < layout.columns.size(); ++i) {
    layout.columns[i].name = "Column" + std::to_string(i + 1);
  }
  layout.columnCount = static_cast<uint32_t>(shape.columnCount);
  layout.variableCount = static_cast<uint32_t>(shape.variableCount);
  layout.fixedAreaSize = static_cast<int32_t>(shape.fixedAreaSize);

  Table check;
  ApplyInferredLayout(layout, check);
  for (const support::ByteView& row : rows) (RowFitsLayout(row, check) ? layout.rowsFitting : layout.rowsUnreadable)++;
  layout.found = layout.rowsFitting > 0;
  return layout;
}

void ApplyInferredLayout(const InferredLayout& layout, Table& table) {
  table.columns = layout.columns;
  table.maxColumns = layout.columnCount;
  table.variableColumnCount = layout.variableCount;
  table.columnCount = static_cast<uint32_t>(layout.columns.size());
  table.fixedAreaSize = layout.fixedAreaSize;
  table.layoutSource = "rows";
  table.unreadableRows = layout.rowsUnreadable;
}

}  // namespace analysis
