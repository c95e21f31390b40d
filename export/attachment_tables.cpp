// Child tables of attachment columns in the Access target.
#include "export/attachment_tables.h"

#include <algorithm>
#include <vector>

#include "engine/engine.h"
#include "export/export_settings.h"
#include "records/complex_columns.h"
#include "records/type_names.h"
#include "support/execution_log.h"

namespace exporter {

namespace {
bool writeFiles(engine::EngineRecordset& recordset, const records::ComplexColumnData& data, int& written) {
  std::vector<int32_t> keys;
  for (const auto& [key, value] : data.cells) keys.push_back(key);
  std::sort(keys.begin(), keys.end());
  for (int32_t key : keys) {
    for (const auto& file : data.cells.at(key).attachments) {
      try {
        recordset.AddNew();
        support::Value value;
        value.kind = support::ValueKind::kInt32;
        value.integer = key;
        recordset.SetFieldValue("Key", value);
        value.clear();
        value.kind = support::ValueKind::kText;
        value.text = file.name;
        recordset.SetFieldValue("Name", value);
        value.text = file.type;
        recordset.SetFieldValue("Type", value);
        value.clear();
        value.kind = support::ValueKind::kLongBinary;
        value.bytes = file.data;
        recordset.SetFieldValue("Data", value);
        recordset.Update();
        ++written;
      } catch (...) {
        support::LogError("Update record failed for attachment " + file.name);
      }
    }
  }
  return true;
}
}  // namespace

std::string AttachmentTableName(const analysis::Table& table, const analysis::Column& column) {
  return table.name + "_" + column.name + "_files";
}

std::string AttachmentTableStatement(const std::string& name) {
  return "CREATE TABLE [" + name +
         "] \r\n(\r\n\t[Key] LONG, \r\n\t[Name] TEXT(255), \r\n\t[Type] TEXT(255), \r\n\t[Data] OLEOBJECT\r\n);";
}

int ExportAttachmentTables(analysis::MdbRecovery& recovery, const analysis::Table& table, int exportMode) {
  auto database = recovery.m_Obj_DAO_Database;
  if (!database || !database->IsOpen()) return -1;
  int written = 0;
  for (const auto& column : table.columns) {
    if (column.type != records::kTypeAttachment) continue;
    const records::ComplexColumnData* data = records::FindComplexColumn(recovery, column.complexId);
    if (data == nullptr || data->kind != records::ComplexKind::kAttachment) continue;
    const std::string name = AttachmentTableName(table, column);
    const std::string statement = AttachmentTableStatement(name);
    try {
      database->Execute(statement);
    } catch (...) {
      support::LogError("Create table query failed.. \r\n" + statement);
      return -1;
    }
    if (exportMode != kModeSchemaAndData) continue;
    try {
      auto recordset = database->NewRecordset();
      recordset->Open("select * from [" + name + "] where 1=-1");
      writeFiles(*recordset, *data, written);
      recordset->Close();
    } catch (...) {
      support::LogError("RecordSet select query failed.. \r\nselect * from [" + name + "] where 1=-1");
      return -1;
    }
  }
  return written;
}

}  // namespace exporter
