// SQLite recordsets. A SELECT is read whole when it is opened (the catalog tables are small,
// and an append recordset selects no row), so reading never holds a statement open. Appending
// builds one INSERT per distinct set of fields given.
#include <strings.h>

#include <map>
#include <vector>

#include "queries/sqlite_connection.h"
#include "queries/sqlite_engine.h"
#include "queries/sqlite_value.h"

namespace queries {

namespace {

struct Cell {
  int storage = SQLITE_NULL;
  std::string bytes;
};

struct ColumnInfo {
  std::string name;        // as the SELECT names it
  std::string originName;  // the table column it comes from; empty for an expression
  std::string originTable;
  int declaredType = 0;  // from the column's declared type name; 0 when none of ours
};

std::string quoteIdentifier(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

class SqliteRecordset : public engine::EngineRecordset {
 public:
  explicit SqliteRecordset(std::shared_ptr<SqliteConnection> connection) : connection_(std::move(connection)) {}

  void Open(const std::string& select) override {
    if (open_) throw engine::EngineError("recordset is already open");
    SqliteStatement statement(*connection_, select);
    if (!sqlite3_stmt_readonly(statement.get())) throw engine::EngineError("not a SELECT: " + select);
    readColumns(statement.get());
    readRows(statement.get(), select);
    position_ = 0;
    open_ = true;
  }

  long GetRecordCount() override {
    requireOpen();
    return static_cast<long>(rows_.size());
  }

  int GetFieldCount() override {
    requireOpen();
    return static_cast<int>(columns_.size());
  }

  engine::EngineFieldInfo GetFieldInfo(int index) override {
    const ColumnInfo& column = columnAt(index);
    engine::EngineFieldInfo info;
    info.m_strName = column.name;
    info.m_nType = column.declaredType;
    if (info.m_nType == 0)
      info.m_nType = typeOfStorage(position_ < rows_.size() ? rows_[position_][index].storage : SQLITE_TEXT);
    return info;
  }

  engine::EngineValue GetFieldValue(int index) override {
    columnAt(index);
    if (position_ >= rows_.size()) throw engine::EngineError("no current record");
    const Cell& cell = rows_[position_][index];
    engine::EngineValue value;
    value.isNull = cell.storage == SQLITE_NULL;
    value.text = cell.bytes;
    return value;
  }

  bool IsEOF() override {
    requireOpen();
    return position_ >= rows_.size();
  }

  void MoveNext() override {
    if (IsEOF()) throw engine::EngineError("no current record");
    ++position_;
  }

  void AddNew() override {
    requireOpen();
    if (table_.empty()) throw engine::EngineError("recordset is not updatable");
    // A record still pending from a failed Update is dropped: each AddNew starts afresh.
    pending_.clear();
    adding_ = true;
  }

  void SetFieldValue(const std::string& column, const support::Value& value) override {
    requireOpen();
    if (!adding_) throw engine::EngineError("no pending record");
    for (size_t i = 0; i < columns_.size(); ++i) {
      if (!columns_[i].originName.empty() && strcasecmp(columns_[i].originName.c_str(), column.c_str()) == 0) {
        pending_[i] = value;
        return;
      }
    }
    throw engine::EngineError("no field " + column);
  }

  void Update() override {
    requireOpen();
    if (!adding_) throw engine::EngineError("no pending record");
    SqliteStatement statement(*connection_, insertText());
    int parameter = 1;
    for (const auto& [index, value] : pending_) {
      if (BindValue(statement.get(), parameter, value, columns_[index].declaredType) != SQLITE_OK)
        connection_->fail("cannot set " + columns_[index].name);
      ++parameter;
    }
    if (sqlite3_step(statement.get()) != SQLITE_DONE) connection_->fail("cannot append to " + table_);
    pending_.clear();
    adding_ = false;
  }

  void Close() override {
    open_ = false;
    adding_ = false;
    columns_.clear();
    rows_.clear();
    pending_.clear();
    table_.clear();
  }

 private:
  void requireOpen() const {
    if (!open_) throw engine::EngineError("recordset is not open");
    if (!connection_->isOpen()) throw engine::EngineError("database is not open");
  }

  const ColumnInfo& columnAt(int index) const {
    requireOpen();
    if (index < 0 || static_cast<size_t>(index) >= columns_.size()) throw engine::EngineError("no such field");
    return columns_[index];
  }

  static int typeOfStorage(int storage) {
    switch (storage) {
      case SQLITE_INTEGER: return engine::kEngineLong;
      case SQLITE_FLOAT: return engine::kEngineDouble;
      case SQLITE_BLOB: return engine::kEngineLongBinary;
      default: return engine::kEngineText;
    }
  }

  void readColumns(sqlite3_stmt* statement) {
    columns_.clear();
    table_.clear();
    bool oneTable = true;
    const int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i) {
      ColumnInfo column;
      auto text = [](const char* value) { return value ? std::string(value) : std::string(); };
      column.name = text(sqlite3_column_name(statement, i));
      column.originName = text(sqlite3_column_origin_name(statement, i));
      column.originTable = text(sqlite3_column_table_name(statement, i));
      column.declaredType = EngineTypeOfDeclaredType(text(sqlite3_column_decltype(statement, i)));
      if (column.originTable.empty() || (i > 0 && column.originTable != columns_[0].originTable)) oneTable = false;
      columns_.push_back(std::move(column));
    }
    // Only a recordset on the columns of one table can append to it.
    if (oneTable && !columns_.empty()) table_ = columns_[0].originTable;
  }

  void readRows(sqlite3_stmt* statement, const std::string& select) {
    rows_.clear();
    for (;;) {
      const int rc = sqlite3_step(statement);
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) connection_->fail("cannot read \"" + select + "\"");
      std::vector<Cell> row(columns_.size());
      for (size_t i = 0; i < row.size(); ++i) {
        const int column = static_cast<int>(i);
        row[i].storage = sqlite3_column_type(statement, column);
        if (row[i].storage == SQLITE_NULL) continue;
        const void* data = row[i].storage == SQLITE_BLOB
                               ? sqlite3_column_blob(statement, column)
                               : static_cast<const void*>(sqlite3_column_text(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        if (data && size > 0) row[i].bytes.assign(static_cast<const char*>(data), static_cast<size_t>(size));
      }
      rows_.push_back(std::move(row));
    }
  }

  std::string insertText() const {
    if (pending_.empty()) return "INSERT INTO " + quoteIdentifier(table_) + " DEFAULT VALUES";
    std::string names, marks;
    for (const auto& entry : pending_) {
      if (!names.empty()) {
        names += ",";
        marks += ",";
      }
      names += quoteIdentifier(columns_[entry.first].originName);
      marks += "?";
    }
    return "INSERT INTO " + quoteIdentifier(table_) + " (" + names + ") VALUES (" + marks + ")";
  }

  std::shared_ptr<SqliteConnection> connection_;
  bool open_ = false;
  bool adding_ = false;
  std::vector<ColumnInfo> columns_;
  std::vector<std::vector<Cell>> rows_;
  size_t position_ = 0;
  std::string table_;
  std::map<size_t, support::Value> pending_;  // field index -> value, in field order
};

}  // namespace

std::unique_ptr<engine::EngineRecordset> MakeSqliteRecordset(std::shared_ptr<SqliteConnection> connection) {
  return std::make_unique<SqliteRecordset>(std::move(connection));
}

}  // namespace queries
