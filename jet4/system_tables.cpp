// Descriptions and initial rows of the system tables.
#include "jet4/system_tables.h"

#include <cstring>

#include "format/text_codec.h"
#include "jet4/page_format.h"

namespace jet4 {

namespace {
constexpr uint8_t kSystemFixed = kColumnSystem | kColumnAlways | kColumnFixed;
constexpr uint8_t kSystemVariable = kColumnSystem | kColumnAlways;
constexpr uint8_t kSystemSecurity = kColumnSecurity | kColumnSystem | kColumnAlways;
constexpr uint16_t kSystemTextLength = 510;  // 255 characters

// Security ids the engine writes (two bytes each; their meaning is not documented):
constexpr uint16_t kSidEngine = 0xEA06;   // owns the system tables and the containers
constexpr uint16_t kSidOwner = 0xE807;    // owns the database (MSysDb) and new objects
constexpr uint16_t kSidCreator = 0xED06;  // inherited by what is created in a container
constexpr uint16_t kSidGroup = 0xE806;    // holds rights on every object

// Access masks the engine gives.
constexpr int32_t kAcmTableRead = 0x60000;
constexpr int32_t kAcmRelationshipsTable = 0xE0000;
constexpr int32_t kAcmContainerCreator = 0xF00FE;
constexpr int32_t kAcmContainerOwner = 0x60001;
constexpr int32_t kAcmDatabaseOwner = 0x6000E;
constexpr int32_t kAcmDatabaseGroup = 0xE;
constexpr int32_t kAcmSystemTableGroup = 0x14;
constexpr int32_t kAcmTablesGroup = 0xFFEFF;
constexpr int32_t kAcmRelationshipsGroup = 0xFFFFF;
constexpr int32_t kAcmUserTable = 0xFFEFF;  // what Access gives every holder on a new table

constexpr uint32_t kSystemObjectFlags = 0x80000000u;

ColumnDef column(const char* name, ColumnType type, uint16_t length, uint8_t flags) {
  ColumnDef c;
  c.name = name;
  c.type = type;
  c.length = length;
  c.flags = flags;
  return c;
}
ColumnDef fixed(const char* name, ColumnType type, uint16_t length) {
  return column(name, type, length, kSystemFixed);
}
ColumnDef variable(const char* name, ColumnType type, uint16_t length = 0) {
  return column(name, type, length, kSystemVariable);
}

IndexDef index(const char* name, std::vector<uint16_t> columns, uint8_t flags, IndexKind kind) {
  IndexDef i;
  i.name = name;
  i.columns = std::move(columns);
  i.flags = flags;
  i.kind = kind;
  return i;
}

FieldValue longValue(int32_t value) {
  FieldValue f{true, std::string(4, '\0')};
  Put32(f.bytes, 0, static_cast<uint32_t>(value));
  return f;
}
FieldValue intValue(int16_t value) {
  FieldValue f{true, std::string(2, '\0')};
  Put16(f.bytes, 0, static_cast<uint16_t>(value));
  return f;
}
FieldValue dateValue(double days) {
  FieldValue f{true, std::string(8, '\0')};
  std::memcpy(f.bytes.data(), &days, sizeof days);
  return f;
}
FieldValue nameValue(const std::string& name) {
  return FieldValue{true, format::Utf16LeBytes(format::Utf8ToUtf16(name))};
}
FieldValue sidValue(uint16_t sid) {
  FieldValue f{true, std::string(2, '\0')};
  Put16(f.bytes, 0, sid);
  return f;
}
FieldValue boolValue(bool value) {
  return FieldValue{value, {}};
}

// MSysObjects column numbers.
enum : size_t { kId, kParentId, kName, kType, kDateCreate, kDateUpdate, kOwner, kFlags, kObjectColumns = 17 };

std::vector<FieldValue> catalogRow(int32_t id, int32_t parent, const std::string& name, int16_t type, double created,
                                   uint16_t owner, uint32_t flags) {
  std::vector<FieldValue> row(kObjectColumns);
  row[kId] = longValue(id);
  row[kParentId] = longValue(parent);
  row[kName] = nameValue(name);
  row[kType] = intValue(type);
  row[kDateCreate] = dateValue(created);
  row[kDateUpdate] = dateValue(created);
  row[kOwner] = sidValue(owner);
  row[kFlags] = longValue(static_cast<int32_t>(flags));
  return row;
}

std::vector<FieldValue> accessRow(int32_t object, uint16_t sid, int32_t acm, bool inheritable) {
  return {longValue(object), sidValue(sid), longValue(acm), boolValue(inheritable)};
}
}  // namespace

TableDef MSysObjectsTable() {
  TableDef t;
  t.name = "MSysObjects";
  t.tableType = kTableSystem;
  t.columns = {fixed("Id", ColumnType::kLong, 4),
               fixed("ParentId", ColumnType::kLong, 4),
               variable("Name", ColumnType::kText, kSystemTextLength),
               fixed("Type", ColumnType::kInt, 2),
               fixed("DateCreate", ColumnType::kDateTime, 8),
               fixed("DateUpdate", ColumnType::kDateTime, 8),
               column("Owner", ColumnType::kBinary, kSystemTextLength, kSystemSecurity),
               fixed("Flags", ColumnType::kLong, 4),
               variable("Database", ColumnType::kMemo),
               variable("Connect", ColumnType::kMemo),
               variable("ForeignName", ColumnType::kText, kSystemTextLength),
               variable("RmtInfoShort", ColumnType::kBinary, kSystemTextLength),
               variable("RmtInfoLong", ColumnType::kOle),
               variable("Lv", ColumnType::kOle),
               variable("LvProp", ColumnType::kOle),
               variable("LvModule", ColumnType::kOle),
               variable("LvExtra", ColumnType::kOle)};
  t.indexes = {index("ParentIdName", {kParentId, kName}, kIndexAlways | kIndexUnique, IndexKind::kNormal),
               index("Id", {kId}, kIndexAlways | kIndexUnique, IndexKind::kPrimaryKey)};
  return t;
}

TableDef MSysAcesTable() {
  TableDef t;
  t.name = "MSysACEs";
  t.tableType = kTableSystem;
  t.columns = {fixed("ObjectId", ColumnType::kLong, 4),
               column("SID", ColumnType::kBinary, kSystemTextLength, kSystemSecurity),
               fixed("ACM", ColumnType::kLong, 4), fixed("FInheritable", ColumnType::kBool, 1)};
  t.indexes = {index("ObjectId", {0}, kIndexAlways | kIndexRequired, IndexKind::kNormal)};
  return t;
}

TableDef MSysQueriesTable() {
  TableDef t;
  t.name = "MSysQueries";
  t.tableType = kTableSystem;
  t.columns = {fixed("ObjectId", ColumnType::kLong, 4),
               fixed("Attribute", ColumnType::kByte, 1),
               variable("Order", ColumnType::kBinary, kSystemTextLength),
               variable("Name1", ColumnType::kText, kSystemTextLength),
               variable("Name2", ColumnType::kText, kSystemTextLength),
               variable("Expression", ColumnType::kMemo),
               fixed("Flag", ColumnType::kInt, 2),
               fixed("LvExtra", ColumnType::kLong, 4)};
  t.indexes = {index("ObjectIdAttribute", {0, 1, 2}, kIndexAlways | kIndexUnique, IndexKind::kPrimaryKey)};
  return t;
}

TableDef MSysRelationshipsTable() {
  TableDef t;
  t.name = "MSysRelationships";
  t.tableType = kTableSystem;
  t.columns = {variable("szRelationship", ColumnType::kText, kSystemTextLength),
               fixed("grbit", ColumnType::kLong, 4),
               fixed("ccolumn", ColumnType::kLong, 4),
               fixed("icolumn", ColumnType::kLong, 4),
               variable("szObject", ColumnType::kText, kSystemTextLength),
               variable("szColumn", ColumnType::kText, kSystemTextLength),
               variable("szReferencedObject", ColumnType::kText, kSystemTextLength),
               variable("szReferencedColumn", ColumnType::kText, kSystemTextLength)};
  t.indexes = {index("szRelationship", {0}, kIndexAlways | kIndexIgnoreNulls, IndexKind::kNormal),
               index("szObject", {4}, kIndexAlways | kIndexIgnoreNulls, IndexKind::kNormal),
               index("szReferencedObject", {6}, kIndexAlways | kIndexIgnoreNulls, IndexKind::kNormal)};
  return t;
}

std::vector<std::vector<FieldValue>> InitialCatalogRows(const std::vector<int32_t>& tables, double created) {
  std::vector<std::vector<FieldValue>> rows = {
      catalogRow(kTablesObjectId, kRootObjectId, "Tables", 3, created, kSidEngine, kSystemObjectFlags),
      catalogRow(kDatabasesObjectId, kRootObjectId, "Databases", 3, created, kSidEngine, kSystemObjectFlags),
      catalogRow(kRelationshipsObjectId, kRootObjectId, "Relationships", 3, created, kSidEngine, kSystemObjectFlags),
      catalogRow(kMSysDbObjectId, kDatabasesObjectId, "MSysDb", 2, created, kSidOwner, kSystemObjectFlags)};
  const char* names[] = {"MSysObjects", "MSysACEs", "MSysQueries", "MSysRelationships"};
  for (size_t i = 0; i < tables.size() && i < 4; ++i)
    rows.push_back(
        catalogRow(tables[i], kTablesObjectId, names[i], kObjectTypeTable, created, kSidEngine, kSystemObjectFlags));
  return rows;
}

std::vector<std::vector<FieldValue>> InitialAccessRows(const std::vector<int32_t>& tables) {
  const int32_t objects = tables.at(0), aces = tables.at(1), queries = tables.at(2), relationships = tables.at(3);
  return {accessRow(objects, kSidOwner, kAcmTableRead, false),
          accessRow(aces, kSidOwner, kAcmTableRead, false),
          accessRow(queries, kSidOwner, kAcmTableRead, false),
          accessRow(relationships, kSidOwner, kAcmRelationshipsTable, false),
          accessRow(kTablesObjectId, kSidCreator, kAcmContainerCreator, true),
          accessRow(kTablesObjectId, kSidOwner, kAcmContainerOwner, false),
          accessRow(kRelationshipsObjectId, kSidCreator, kAcmContainerCreator, true),
          accessRow(kRelationshipsObjectId, kSidOwner, kAcmContainerOwner, false),
          accessRow(kDatabasesObjectId, kSidOwner, kAcmTableRead, false),
          accessRow(kMSysDbObjectId, kSidOwner, kAcmDatabaseOwner, false),
          accessRow(kMSysDbObjectId, kSidGroup, kAcmDatabaseGroup, false),
          accessRow(queries, kSidGroup, kAcmSystemTableGroup, false),
          accessRow(relationships, kSidGroup, kAcmSystemTableGroup, false),
          accessRow(objects, kSidGroup, kAcmSystemTableGroup, false),
          accessRow(kTablesObjectId, kSidGroup, kAcmTablesGroup, true),
          accessRow(kRelationshipsObjectId, kSidGroup, kAcmRelationshipsGroup, true)};
}

std::vector<FieldValue> UserTableCatalogRow(int32_t id, const std::string& name, double created) {
  return catalogRow(id, kTablesObjectId, name, kObjectTypeTable, created, kSidOwner, 0);
}

std::vector<std::vector<FieldValue>> UserTableAccessRows(int32_t id) {
  // The owner and the group get full rights on the table, as Access gives them.
  return {accessRow(id, kSidOwner, kAcmUserTable, false), accessRow(id, kSidGroup, kAcmUserTable, false)};
}

}  // namespace jet4
