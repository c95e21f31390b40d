// RebuildQuerySql: read the query's rows back, then assemble.
#include "queries/query_rebuild.h"

#include <cstdio>
#include <cstdlib>

#include "engine/engine.h"
#include "queries/field_text.h"
#include "queries/query_assembly.h"
#include "support/execution_log.h"

namespace queries {

namespace {

// Stores one converted, non-null field into the row by its name.
void storeField(QueryRow& row, const std::string& name, const std::string& text) {
  auto number = [&text] { return std::atoi(text.c_str()); };
  if (name == "ObjectId")
    row.objectId = number();
  else if (name == "Attribute")
    row.attribute = number();
  else if (name == "Order")
    row.order = number();
  else if (name == "Flag")
    row.flag = number();
  else if (name == "Name1")
    row.name1 = text;
  else if (name == "Name2")
    row.name2 = text;
  else if (name == "Expression")
    row.expression = text;
  else if (name == "LvExtra")
    row.lvExtra = text;
}

}  // namespace

std::vector<QueryRow> ReadQueryRows(analysis::MdbRecovery& recovery, int objectId) {
  char select[96];
  std::snprintf(select, sizeof select, "Select * from ASysQueries where ObjectId = %d", objectId);
  std::vector<QueryRow> rows;
  std::unique_ptr<engine::EngineRecordset> recordset;
  try {
    if (!recovery.m_Obj_DAO_Database) throw engine::EngineError("no database");
    recordset = recovery.m_Obj_DAO_Database->NewRecordset();
    recordset->Open(select);
    if (recordset->GetRecordCount() != 0) {
      const int fieldCount = recordset->GetFieldCount();
      while (!recordset->IsEOF()) {
        QueryRow row;
        for (int i = 0; i < fieldCount; ++i) {
          const engine::EngineValue value = recordset->GetFieldValue(i);
          const engine::EngineFieldInfo info = recordset->GetFieldInfo(i);
          if (!value.isNull) storeField(row, info.m_strName, EngineFieldText(info, value, FieldTextUse::kRebuild));
        }
        rows.push_back(std::move(row));
        recordset->MoveNext();
      }
    }
    recordset->Close();
  } catch (...) {
    support::LogError(std::string("RecordSet select query failed.. \r\n") + select);
  }
  return rows;
}

std::string RebuildQuerySql(analysis::MdbRecovery& recovery, int objectId) {
  return AssembleQuerySql(ReadQueryRows(recovery, objectId));
}

}  // namespace queries
