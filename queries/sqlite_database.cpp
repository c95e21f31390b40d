// SQLite database objects: create, open (exclusively), execute, close.
#include <cctype>

#include "platform/file_write.h"
#include "queries/sqlite_connection.h"
#include "queries/sqlite_engine.h"

namespace queries {

sqlite3* SqliteConnection::handle() const {
  if (!handle_) throw engine::EngineError("database is not open");
  return handle_;
}

bool SqliteConnection::close() {
  if (!handle_) return true;
  const bool ok = sqlite3_close_v2(handle_) == SQLITE_OK;
  handle_ = nullptr;
  return ok;
}

void SqliteConnection::fail(const std::string& what) const {
  throw engine::EngineError(what + ": " + (handle_ ? sqlite3_errmsg(handle_) : "database is not open"));
}

SqliteStatement::SqliteStatement(const SqliteConnection& connection, const std::string& sql) {
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(connection.handle(), sql.c_str(), static_cast<int>(sql.size()), &statement_, &tail) !=
      SQLITE_OK) {
    sqlite3_finalize(statement_);
    statement_ = nullptr;
    connection.fail("cannot prepare \"" + sql + "\"");
  }
  if (!statement_) throw engine::EngineError("empty statement");
}

namespace {

class SqliteDatabase : public engine::EngineDatabase {
 public:
  ~SqliteDatabase() override { closeQuietly(); }

  // The locale text and options describe an Access file's collation; SQLite keeps text as UTF-8
  // and needs neither.
  void Create(const std::string& path, const std::string& locale, int options) override {
    if (IsOpen()) throw engine::EngineError("a database is already open");
    // Like the engine, never create over an existing file; the new file is private (0600).
    if (!platform::CreatePrivateFile(path)) throw engine::EngineError("cannot create " + path);
    openHandle(path, SQLITE_OPEN_READWRITE);
  }

  void Open(const std::string& path, bool exclusive, bool readOnly, const std::string& connect) override {
    if (IsOpen()) throw engine::EngineError("a database is already open");
    openHandle(path, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
    try {
      if (exclusive) {
        // The lock is taken now and held until Close, so no other program opens the file meanwhile.
        run("PRAGMA locking_mode=EXCLUSIVE");
        run(readOnly ? "BEGIN" : "BEGIN EXCLUSIVE");
      }
      run("SELECT count(*) FROM sqlite_master");  // refuses a file that is not a database
      if (exclusive) run("COMMIT");
    } catch (...) {
      closeQuietly();
      throw;
    }
  }

  void Close() override {
    if (!connection_) return;
    const bool ok = connection_->close();
    connection_.reset();
    if (!ok) throw engine::EngineError("closing the database failed");
  }

  bool IsOpen() const override { return connection_ && connection_->isOpen(); }

  void Execute(const std::string& statement) override {
    if (!IsOpen()) throw engine::EngineError("database is not open");
    run(statement);
  }

  std::unique_ptr<engine::EngineRecordset> NewRecordset() override {
    if (!IsOpen()) throw engine::EngineError("database is not open");
    return MakeSqliteRecordset(connection_);
  }

 private:
  void openHandle(const std::string& path, int flags) {
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &handle, flags | SQLITE_OPEN_NOFOLLOW, nullptr);
    connection_ = std::make_shared<SqliteConnection>(handle);
    if (rc != SQLITE_OK) {
      const std::string message = handle ? sqlite3_errmsg(handle) : "out of memory";
      connection_.reset();
      throw engine::EngineError("cannot open " + path + ": " + message);
    }
    // These files are scratch databases, deleted when the work is done: no journal on disk and
    // no sync per appended row.
    try {
      run("PRAGMA journal_mode=MEMORY");
      run("PRAGMA synchronous=OFF");
    } catch (...) {
      closeQuietly();
      throw;
    }
  }

  void run(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(connection_->handle(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string message = error ? error : sqlite3_errmsg(connection_->handle());
      sqlite3_free(error);
      throw engine::EngineError(message);
    }
  }

  void closeQuietly() {
    if (connection_) connection_->close();
    connection_.reset();
  }

  std::shared_ptr<SqliteConnection> connection_;
};

}  // namespace

std::shared_ptr<engine::EngineDatabase> MakeSqliteDatabase() {
  return std::make_shared<SqliteDatabase>();
}

int EngineTypeOfDeclaredType(const std::string& declaredType) {
  std::string name;
  for (char c : declaredType) {
    if (c == '(' || c == ' ' || c == '\t') break;
    name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  struct Entry {
    const char* name;
    int type;
  };
  static constexpr Entry kTypes[] = {
      {"BIT", engine::kEngineBoolean},   {"BYTE", engine::kEngineByte},     {"INT", engine::kEngineInteger},
      {"LONG", engine::kEngineLong},     {"COUNTER", engine::kEngineLong},  {"CURRENCY", engine::kEngineCurrency},
      {"SINGLE", engine::kEngineSingle}, {"DOUBLE", engine::kEngineDouble}, {"DATE", engine::kEngineDate},
      {"BINARY", engine::kEngineBinary}, {"TEXT", engine::kEngineText},     {"OLEOBJECT", engine::kEngineLongBinary},
      {"MEMO", engine::kEngineMemo},     {"GUID", engine::kEngineGuid},     {"NUMERIC", engine::kEngineDecimal},
  };
  for (const auto& entry : kTypes)
    if (name == entry.name) return entry.type;
  return 0;
}

}  // namespace queries
