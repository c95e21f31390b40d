// The CREATE TABLE statements of the export: bracketed names and the type names COUNTER,
// LONG, INT, BYTE, BIT, CURRENCY, SINGLE, DOUBLE, DATE, BINARY, TEXT(n), MEMO, OLEOBJECT,
// GUID and NUMERIC(p,s), for example
//   CREATE TABLE [T] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Name] TEXT(50)\r\n);
#pragma once

#include <string>

#include "jet4/table_schema.h"

namespace jet4 {

// The table the statement describes; throws engine::EngineError for anything else (an
// unknown type, a bad size, a duplicate column, a syntax error).
TableDef ParseCreateTable(const std::string& statement);

}  // namespace jet4
