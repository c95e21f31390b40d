// ExportTableToAccess, AddRowsToTarget and the field writer.
#include "export/table_export_access.h"

#include <vector>

#include "export/attachment_tables.h"
#include "platform/message_sink.h"
#include "platform/read_only_file.h"
#include "records/extended_types.h"
#include "records/record_fetch.h"
#include "records/row_decoder.h"
#include "records/type_names.h"
#include "support/execution_log.h"

namespace exporter {

namespace {

// The whole content of an OLE object's file; empty when it cannot be read.
std::string fileBytes(const std::string& path) {
  platform::ReadOnlyFile file;
  if (!file.open(path)) return {};
  const int64_t size = file.size();
  if (size <= 0) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  const int64_t read = file.readAt(0, bytes.data(), bytes.size());
  bytes.resize(read > 0 ? static_cast<size_t>(read) : 0);
  return bytes;
}

}  // namespace

bool AccessFieldWriter::writeField(const analysis::Column& column, analysis::Field& field) {
  if (field.text == "NULL") return false;
  try {
    if (column.type == records::kTypeOle) {
      recordset_.SetFieldValue(column.name, fileBytes(field.text));
    } else if (column.type == records::kTypeBit && field.text == "BIT") {
      recordset_.SetFieldValue(column.name, "1");
    } else if (field.value.kind == support::ValueKind::kDateExtended) {
      // A Jet 4 database has no such type: the target column is text in ISO 8601 form.
      recordset_.SetFieldValue(column.name, records::ExtendedDateIsoText(field.value.integer));
    } else {
      recordset_.SetFieldValue(column.name, field.text);
    }
    return true;
  } catch (...) {
    return false;
  }
}

int AddRowsToTarget(analysis::MdbRecovery& recovery, analysis::Table& table, queries::EngineRecordset& recordset) {
  analysis::g_rowFields.assign(table.maxColumns, analysis::Field{});
  if (table.dataPages.empty()) return -1;
  AccessFieldWriter writer(recordset);
  bool newRecord = true;
  for (size_t position = 0; position < table.dataPages.size(); ++position) {
    table.currentPageIndex = static_cast<int32_t>(position);
    const int rows = records::LoadDataPage(recovery, table, static_cast<int32_t>(position));
    for (int row = 0; row < rows; ++row) {
      if (recovery.channel->aborted()) return -1;
      int result = 0;
      try {
        if (newRecord) recordset.AddNew();
        result = records::ReadRowForExport(recovery, table, row, writer);
      } catch (...) {
        support::LogError("Error adding Row=" + std::to_string(row));
        continue;
      }
      if (result < 0) return -1;  // stopped while decoding: the partial record is not appended
      // A deleted row, or one that gave nothing: the pending record waits for the next row.
      newRecord = result != 0;
      if (!newRecord) continue;
      try {
        recordset.Update();
        ++table.exportedRecords;
      } catch (...) {
        support::LogError("Update record failed for Row=" + std::to_string(row + 1));
      }
    }
  }
  return recovery.channel->aborted() ? -1 : 1;
}

int ExportTableToAccess(analysis::MdbRecovery& recovery, analysis::Table& table, int exportMode) {
  return ExportTableToAccess(recovery, table, exportMode, table.createStatement);
}

int ExportTableToAccess(analysis::MdbRecovery& recovery, analysis::Table& table, int exportMode,
                        const std::string& statement) {
  table.currentPageIndex = 0;
  table.nextRecordIndex = 0;
  table.nextRowInPage = 0;
  table.exportedRecords = 0;
  auto database = recovery.m_Obj_DAO_Database;
  if (!database || !database->IsOpen()) return -1;

  std::unique_ptr<queries::EngineRecordset> recordset;
  try {
    recordset = database->NewRecordset();
    database->Execute(statement);
  } catch (...) {
    const std::string message = "Create table query failed.. \r\n" + statement;
    platform::ShowMessageBox(message);
    support::LogError(message);
    return -1;
  }
  ExportAttachmentTables(recovery, table, exportMode);
  if (exportMode == kModeSchemaOnly) {
    recovery.channel->done = 1;
    return 1;
  }
  if (recovery.channel->aborted()) return -1;

  const std::string select = "select * from [" + table.name + "] where 1=-1";
  try {
    recordset->Open(select);
  } catch (...) {
    support::LogError("RecordSet select query failed.. \r\n" + select);
    return -1;
  }
  AddRowsToTarget(recovery, table, *recordset);
  try {
    recordset->Close();
  } catch (...) {
    support::LogError("Close RecordSet failed...");
    return -1;
  }
  if (!recovery.channel->aborted()) recovery.channel->done = 1;
  return 1;
}

}  // namespace exporter
