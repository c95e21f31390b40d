// The system tables a new database holds, described column by column, and the rows the
// engine puts in them: the catalog (MSysObjects), its access-control entries (MSysACEs),
// the saved queries (MSysQueries) and relationships (MSysRelationships).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet4/row_encoder.h"
#include "jet4/table_schema.h"

namespace jet4 {

// Their table definitions sit on pages 2 to 5, in this order.
TableDef MSysObjectsTable();
TableDef MSysAcesTable();
TableDef MSysQueriesTable();
TableDef MSysRelationshipsTable();

// Catalog ids of the parent objects.
constexpr int32_t kRootObjectId = 0x0F000000;
constexpr int32_t kTablesObjectId = 0x0F000001;
constexpr int32_t kDatabasesObjectId = 0x0F000002;
constexpr int32_t kRelationshipsObjectId = 0x0F000003;
constexpr int32_t kMSysDbObjectId = 0x10000000;

constexpr int16_t kObjectTypeTable = 1;

// The catalog rows and access-control rows of a new empty database; tables lists the
// system tables' ids (their tdef pages) in the order above.
std::vector<std::vector<FieldValue>> InitialCatalogRows(const std::vector<int32_t>& tables, double created);
std::vector<std::vector<FieldValue>> InitialAccessRows(const std::vector<int32_t>& tables);

// The catalog row and the access-control rows of a user table.
std::vector<FieldValue> UserTableCatalogRow(int32_t id, const std::string& name, double created);
std::vector<std::vector<FieldValue>> UserTableAccessRows(int32_t id);

}  // namespace jet4
