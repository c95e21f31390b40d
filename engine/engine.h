// The database engine interface: what the temporary catalog database and the Access export
// target need of a database engine. Backends: SQLite (the temporary catalog database) and our
// own Jet 4 writer (the Access export target). Every failure is an EngineError, which each
// caller catches with a catch-all; no caller uses its detail beyond logging. Values are set
// typed (support::Value), never as display text.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "support/value.h"

namespace engine {

class EngineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Field type codes as the engine reports them (m_nType).
enum EngineType : int {
  kEngineBoolean = 1,
  kEngineByte = 2,
  kEngineInteger = 3,
  kEngineLong = 4,
  kEngineCurrency = 5,
  kEngineSingle = 6,
  kEngineDouble = 7,
  kEngineDate = 8,
  kEngineBinary = 9,
  kEngineText = 10,
  kEngineLongBinary = 11,
  kEngineMemo = 12,
  kEngineGuid = 15,
  kEngineDecimal = 20,
};

struct EngineFieldInfo {
  std::string m_strName;
  int m_nType = 0;
};

struct EngineValue {
  bool isNull = true;  // the engine's null marker
  std::string text;    // the value as text (raw bytes for binary fields)
};

class EngineRecordset {
 public:
  virtual ~EngineRecordset() = default;
  // Opens the recordset on one SELECT statement.
  virtual void Open(const std::string& select) = 0;
  virtual long GetRecordCount() = 0;
  virtual int GetFieldCount() = 0;
  virtual EngineFieldInfo GetFieldInfo(int index) = 0;
  virtual EngineValue GetFieldValue(int index) = 0;
  virtual bool IsEOF() = 0;
  virtual void MoveNext() = 0;
  // Appending: AddNew starts a pending record, SetFieldValue fills it, Update appends it. A
  // value is stored as it is (a double bit for bit, bytes as given, a null as null); one that
  // the column cannot hold (out of range, too long, no conversion) is an EngineError.
  virtual void AddNew() = 0;
  virtual void SetFieldValue(const std::string& column, const support::Value& value) = 0;
  virtual void Update() = 0;
  virtual void Close() = 0;
};

class EngineDatabase {
 public:
  virtual ~EngineDatabase() = default;
  // Creates a new database file and leaves it open; fails when the file exists.
  virtual void Create(const std::string& path, const std::string& locale, int options) = 0;
  virtual void Open(const std::string& path, bool exclusive, bool readOnly, const std::string& connect) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Executes one statement (CREATE TABLE); the table exists afterwards, else EngineError.
  virtual void Execute(const std::string& statement) = 0;
  // A recordset on this open database.
  virtual std::unique_ptr<EngineRecordset> NewRecordset() = 0;
};

// The locale text given when a database is created.
constexpr const char* kEngineLocale = ";LANGID=0x0409;CP=1252;COUNTRY=0";

}  // namespace engine
