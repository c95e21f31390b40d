// Appending rows to a table.
#include "jet4/table_writer.h"

#include "engine/engine.h"
#include "jet4/index_keys.h"
#include "jet4/page_file.h"
#include "jet4/page_format.h"

namespace jet4 {

namespace {
constexpr int kRoomWorthListing = 1024;
constexpr size_t kMaxLongValueLength = 0x3FFFFFFF;

std::u16string storedText(const std::string& bytes) {
  std::u16string text;
  if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
    for (size_t i = 2; i < bytes.size(); ++i) text += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]));
    return text;
  }
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
  return text;
}
}  // namespace

TableWriter::TableWriter(PageFile& file, TableDef table, uint32_t tdefPage)
    : file_(&file), table_(std::move(table)), layout_(LayOut(table_)), tdefPage_(tdefPage), current_(tdefPage) {
  for (const ColumnDef& column : table_.columns) {
    if (column.isLongValue()) {
      longValueOf_.push_back(static_cast<int>(longValues_.size()));
      longValues_.emplace_back(file);
    } else {
      longValueOf_.push_back(-1);
    }
  }
  indexEntries_.resize(table_.indexes.size());
}

void TableWriter::assignAutoNumber(std::vector<FieldValue>& fields) {
  for (size_t number = 0; number < table_.columns.size(); ++number) {
    if (!table_.columns[number].isAutoNumber() || table_.columns[number].type != ColumnType::kLong) continue;
    FieldValue& field = fields[number];
    if (!field.present) {
      field.present = true;
      field.bytes.assign(4, '\0');
      Put32(field.bytes, 0, lastAutoNumber_ + 1);
    }
    const auto value = static_cast<int32_t>(Get32(field.bytes, 0));
    if (value > static_cast<int32_t>(lastAutoNumber_)) lastAutoNumber_ = static_cast<uint32_t>(value);
  }
}

std::string TableWriter::encodeWithLongValues(std::vector<FieldValue>& fields) {
  // Short values stay in the row unless that makes the row too large; the others go to
  // long-value pages, written only once the row is known to fit.
  const std::string placeholder(kLongValueReferenceSize, '\0');
  std::vector<FieldValue> candidate = fields;
  std::vector<size_t> outOfLine;
  for (size_t number = 0; number < fields.size(); ++number) {
    if (longValueOf_[number] < 0 || !fields[number].present) continue;
    if (fields[number].bytes.size() > kMaxLongValueLength) throw engine::EngineError("long value too large");
    if (fields[number].bytes.size() <= kMaxInlineLongValue) {
      candidate[number].bytes = LongValueStore::InlineReference(fields[number].bytes);
    } else {
      candidate[number].bytes = placeholder;
      outOfLine.push_back(number);
    }
  }
  std::string row = EncodeRow(table_, layout_, candidate);
  if (row.size() > static_cast<size_t>(kMaxRowSize)) {
    outOfLine.clear();
    for (size_t number = 0; number < fields.size(); ++number) {
      if (longValueOf_[number] < 0 || !fields[number].present) continue;
      candidate[number].bytes = placeholder;
      outOfLine.push_back(number);
    }
    row = EncodeRow(table_, layout_, candidate);
    if (row.size() > static_cast<size_t>(kMaxRowSize)) throw engine::EngineError("record is too large");
  }
  if (outOfLine.empty()) return row;
  for (size_t number : outOfLine)
    candidate[number].bytes = longValues_[static_cast<size_t>(longValueOf_[number])].store(fields[number].bytes);
  return EncodeRow(table_, layout_, candidate);
}

void TableWriter::appendRow(std::vector<FieldValue> fields) {
  fields.resize(table_.columns.size());
  assignAutoNumber(fields);
  const std::string row =
      layout_.longValueCount > 0 ? encodeWithLongValues(fields) : EncodeRow(table_, layout_, fields);
  if (row.size() > static_cast<size_t>(kMaxRowSize)) throw engine::EngineError("record is too large");

  if (open_ && !current_.fits(row.size())) closeCurrentPage();
  if (!open_) {
    current_.reset(tdefPage_);
    currentNumber_ = file_->allocate();
    dataPages_.push_back(currentNumber_);
    open_ = true;
  }
  const int slot = current_.add(row);
  ++rowCount_;
  if (!table_.indexes.empty()) addIndexEntries(fields, currentNumber_, static_cast<uint8_t>(slot));
}

void TableWriter::addIndexEntries(const std::vector<FieldValue>& fields, uint32_t page, uint8_t row) {
  for (size_t i = 0; i < table_.indexes.size(); ++i) {
    IndexEntry entry;
    entry.page = page;
    entry.row = row;
    for (uint16_t number : table_.indexes[i].columns) {
      const FieldValue& field = fields[number];
      if (!field.present) {
        AppendNullKey(entry.key);
        continue;
      }
      const uint32_t value = Get32(field.bytes, 0);
      switch (table_.columns[number].type) {
        case ColumnType::kLong: AppendLongKey(entry.key, static_cast<int32_t>(value)); break;
        case ColumnType::kInt: AppendIntKey(entry.key, static_cast<int16_t>(value & 0xFFFF)); break;
        case ColumnType::kByte: AppendByteKey(entry.key, static_cast<uint8_t>(value & 0xFF)); break;
        case ColumnType::kText: AppendTextKey(entry.key, storedText(field.bytes)); break;
        default: throw engine::EngineError("index on a column type the writer does not key");
      }
    }
    indexEntries_[i].push_back(std::move(entry));
  }
}

void TableWriter::closeCurrentPage() {
  if (!open_) return;
  file_->write(currentNumber_, current_.bytes());
  if (current_.freeSpace() >= kRoomWorthListing) pagesWithRoom_.push_back(currentNumber_);
  open_ = false;
}

void TableWriter::finish() {
  if (open_) {
    // The last page always has room for more rows.
    file_->write(currentNumber_, current_.bytes());
    pagesWithRoom_.push_back(currentNumber_);
    open_ = false;
  }
  for (LongValueStore& store : longValues_) store.finish();
}

}  // namespace jet4
