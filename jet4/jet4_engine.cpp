// The engine database and recordset over DatabaseFile.
#include "jet4/jet4_engine.h"

#include <cstdlib>
#include <unordered_map>

#include "format/calendar.h"
#include "format/text_codec.h"
#include "jet4/create_table_statement.h"
#include "jet4/database_file.h"
#include "jet4/sql_scanner.h"
#include "jet4/value_encoder.h"
#include "platform/clock.h"

namespace jet4 {

namespace {
constexpr uint16_t kGeneralLanguage = 0x0409;
constexpr int kEngineBoolean = 1;
constexpr int kEngineDecimal = 20;

using engine::EngineError;

// The shared state of a database and its recordsets; generation changes whenever the file
// is closed, so a recordset opened on an earlier file refuses to work.
struct Session {
  DatabaseFile file;
  uint64_t generation = 0;
};

// ";LANGID=0x0409;CP=1252;COUNTRY=0": the code page and the sort order of the new database.
HeaderSettings settingsFromLocale(const std::string& locale) {
  HeaderSettings settings;
  size_t at = 0;
  while (at < locale.size()) {
    size_t end = locale.find(';', at);
    if (end == std::string::npos) end = locale.size();
    const std::string part = locale.substr(at, end - at);
    at = end + 1;
    const size_t equals = part.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = part.substr(0, equals);
    const long value = std::strtol(part.c_str() + equals + 1, nullptr, 0);
    if (key == "LANGID" && value != kGeneralLanguage) throw EngineError("only the General sort order is supported");
    if (key == "CP" && value > 0 && value < 65536) settings.codePage = static_cast<uint16_t>(value);
  }
  const platform::DateTimeParts now = platform::LocalNow();
  settings.creationDate = format::ToDayCount({now.year, now.month, now.day, now.hour, now.minute, now.second});
  return settings;
}

int engineType(const ColumnDef& column) {
  switch (column.type) {
    case ColumnType::kBool: return kEngineBoolean;
    case ColumnType::kByte: return engine::kEngineByte;
    case ColumnType::kInt: return engine::kEngineInteger;
    case ColumnType::kLong: return engine::kEngineLong;
    case ColumnType::kCurrency: return engine::kEngineCurrency;
    case ColumnType::kSingle: return engine::kEngineSingle;
    case ColumnType::kDouble: return engine::kEngineDouble;
    case ColumnType::kDateTime: return engine::kEngineDate;
    case ColumnType::kBinary: return engine::kEngineBinary;
    case ColumnType::kText: return engine::kEngineText;
    case ColumnType::kOle: return engine::kEngineLongBinary;
    case ColumnType::kMemo: return engine::kEngineMemo;
    case ColumnType::kGuid: return engine::kEngineGuid;
    case ColumnType::kNumeric: return kEngineDecimal;
  }
  return 0;
}

// "select * from [T] where 1=-1": the table name; anything else is refused.
std::string appendingSelectTable(const std::string& select) {
  SqlScanner scan(select);
  std::string table;
  int one = 0, minusOne = 0;
  if (!scan.keyword("SELECT") || !scan.symbol('*') || !scan.keyword("FROM") || !scan.name(table) ||
      !scan.keyword("WHERE") || !scan.number(one) || !scan.symbol('=') || !scan.symbol('-') || !scan.number(minusOne) ||
      one != 1 || minusOne != 1)
    throw EngineError("only appending recordsets (select * from [T] where 1=-1) are supported: " + select);
  scan.symbol(';');
  if (!scan.atEnd()) throw EngineError("unexpected text after the SELECT statement");
  return table;
}

class Jet4Recordset : public engine::EngineRecordset {
 public:
  explicit Jet4Recordset(std::shared_ptr<Session> session) : session_(std::move(session)) {}

  void Open(const std::string& select) override {
    Close();
    if (!session_->file.isOpen()) throw EngineError("the database is not open");
    TableWriter* table = session_->file.findTable(appendingSelectTable(select));
    if (table == nullptr) throw EngineError("no such table in: " + select);
    table_ = table;
    generation_ = session_->generation;
    byName_.clear();
    byFoldedName_.clear();
    const auto& columns = table_->table().columns;
    for (size_t i = 0; i < columns.size(); ++i) {
      byName_.emplace(columns[i].name, i);
      byFoldedName_.emplace(format::FoldedName(columns[i].name), i);
    }
  }
  long GetRecordCount() override {
    this->table();
    return 0;
  }
  int GetFieldCount() override { return static_cast<int>(table().table().columns.size()); }
  engine::EngineFieldInfo GetFieldInfo(int index) override {
    const ColumnDef& column = columnAt(index);
    return engine::EngineFieldInfo{column.name, engineType(column)};
  }
  engine::EngineValue GetFieldValue(int index) override {
    columnAt(index);
    throw EngineError("no current record");
  }
  bool IsEOF() override {
    table();
    return true;
  }
  void MoveNext() override {
    table();
    throw EngineError("no current record");
  }
  void AddNew() override {
    // A record still pending from an earlier AddNew is dropped, as when the engine moves on.
    pending_.assign(table().table().columns.size(), FieldValue{});
    adding_ = true;
  }
  void SetFieldValue(const std::string& column, const support::Value& value) override {
    TableWriter& writer = table();
    if (!adding_) throw EngineError("SetFieldValue without AddNew");
    const size_t index = columnIndex(column);
    pending_[index] = EncodeFieldValue(writer.table().columns[index], value);
  }
  void Update() override {
    TableWriter& writer = table();
    if (!adding_) throw EngineError("Update without AddNew");
    adding_ = false;
    writer.appendRow(std::move(pending_));
    pending_.clear();
  }
  void Close() override {
    table_ = nullptr;
    adding_ = false;
    pending_.clear();
  }

 private:
  TableWriter& table() {
    if (table_ == nullptr || generation_ != session_->generation || !session_->file.isOpen())
      throw EngineError("the recordset is not open");
    return *table_;
  }
  const ColumnDef& columnAt(int index) {
    const auto& columns = table().table().columns;
    if (index < 0 || static_cast<size_t>(index) >= columns.size()) throw EngineError("no field at that index");
    return columns[static_cast<size_t>(index)];
  }
  size_t columnIndex(const std::string& name) const {
    if (auto exact = byName_.find(name); exact != byName_.end()) return exact->second;
    if (auto folded = byFoldedName_.find(format::FoldedName(name)); folded != byFoldedName_.end())
      return folded->second;
    throw EngineError("no field named " + name);
  }

  std::shared_ptr<Session> session_;
  TableWriter* table_ = nullptr;
  uint64_t generation_ = 0;
  std::unordered_map<std::string, size_t> byName_;
  std::unordered_map<std::u16string, size_t> byFoldedName_;
  std::vector<FieldValue> pending_;
  bool adding_ = false;
};

class Jet4Database : public engine::EngineDatabase {
 public:
  Jet4Database() : session_(std::make_shared<Session>()) {}

  void Create(const std::string& path, const std::string& locale, int options) override {
    if (session_->file.isOpen()) throw EngineError("a database is open already");
    session_->file.create(path, settingsFromLocale(locale));
    ++session_->generation;
  }
  void Open(const std::string& path, bool, bool, const std::string&) override {
    throw EngineError("this engine writes new databases only and cannot open " + path);
  }
  void Close() override {
    if (!session_->file.isOpen()) return;
    ++session_->generation;
    session_->file.close();
  }
  bool IsOpen() const override { return session_->file.isOpen(); }
  void Execute(const std::string& statement) override {
    if (!session_->file.isOpen()) throw EngineError("the database is not open");
    session_->file.createTable(ParseCreateTable(statement));
  }
  std::unique_ptr<engine::EngineRecordset> NewRecordset() override { return std::make_unique<Jet4Recordset>(session_); }

 private:
  std::shared_ptr<Session> session_;
};
}  // namespace

std::shared_ptr<engine::EngineDatabase> MakeJet4Database() {
  return std::make_shared<Jet4Database>();
}

}  // namespace jet4
