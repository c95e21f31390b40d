// A temporary catalog database built in a test: the ASysQueries and ASysObjects tables of the
// query reader, filled with rows written the way the catalog copy writes them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "engine/engine.h"

namespace testsupport {

constexpr int kNullFlag = -1000000;  // leaves Flag null

// One row of ASysQueries; an absent text is a null field.
struct CatalogQueryRow {
  int attribute = 0;
  int flag = kNullFlag;
  std::optional<std::string> name1;
  std::optional<std::string> name2;
  std::optional<std::string> expression;
};

// The ASysObjects columns the reader uses, and Type.
constexpr const char* kCatalogObjectsStatement =
    "CREATE TABLE [ASysObjects] \r\n(\r\n\t[Id] COUNTER, \r\n\t[ParentId] LONG, \r\n\t[Name] TEXT(255), \r\n\t[Type] "
    "INT, \r\n\t[LvExtra] OLEOBJECT\r\n);";

// Creates an SQLite database at path with both tables and leaves it open in the recovery.
void OpenCatalogDatabase(analysis::MdbRecovery& recovery, const std::string& path);
void InsertQueryRows(engine::EngineDatabase& database, int objectId, const std::vector<CatalogQueryRow>& rows);
// A query object (Type 5); without lvExtra its LvExtra is null.
void InsertQueryObject(engine::EngineDatabase& database, int id, const std::string& name,
                       const std::optional<std::string>& lvExtra = std::string("\x01\x02", 2), int type = 5);

}  // namespace testsupport
