// Test catalog databases.
#include "tests/support/query_catalog.h"

#include "queries/sqlite_engine.h"
#include "queries/temp_catalog.h"
#include "support/value_builders.h"

namespace testsupport {

void OpenCatalogDatabase(analysis::MdbRecovery& recovery, const std::string& path) {
  recovery.m_Obj_DAO_Database = queries::MakeSqliteDatabase();
  recovery.m_Obj_DAO_Database->Create(path, engine::kEngineLocale, 0);
  recovery.m_Obj_DAO_Database->Execute(queries::kQueriesTableStatement);
  recovery.m_Obj_DAO_Database->Execute(kCatalogObjectsStatement);
}

void InsertQueryRows(engine::EngineDatabase& database, int objectId, const std::vector<CatalogQueryRow>& rows) {
  auto recordset = database.NewRecordset();
  recordset->Open("select * from [ASysQueries] where 1=-1");
  for (const auto& row : rows) {
    recordset->AddNew();
    recordset->SetFieldValue("ObjectId", support::TextValue(std::to_string(objectId)));
    recordset->SetFieldValue("Attribute", support::TextValue(std::to_string(row.attribute)));
    recordset->SetFieldValue("Order", support::TextValue("00000001"));
    if (row.flag != kNullFlag) recordset->SetFieldValue("Flag", support::TextValue(std::to_string(row.flag)));
    if (row.name1) recordset->SetFieldValue("Name1", support::TextValue(*row.name1));
    if (row.name2) recordset->SetFieldValue("Name2", support::TextValue(*row.name2));
    if (row.expression) recordset->SetFieldValue("Expression", support::TextValue(*row.expression));
    recordset->Update();
  }
  recordset->Close();
}

void InsertQueryObject(engine::EngineDatabase& database, int id, const std::string& name,
                       const std::optional<std::string>& lvExtra, int type) {
  auto recordset = database.NewRecordset();
  recordset->Open("select * from [ASysObjects] where 1=-1");
  recordset->AddNew();
  recordset->SetFieldValue("Id", support::TextValue(std::to_string(id)));
  recordset->SetFieldValue("Name", support::TextValue(name));
  recordset->SetFieldValue("Type", support::TextValue(std::to_string(type)));
  if (lvExtra) recordset->SetFieldValue("LvExtra", support::TextValue(*lvExtra));
  recordset->Update();
  recordset->Close();
}

}  // namespace testsupport
