// ExportTableToAccess and AddRowsToTarget.
#include "export/table_export_access.h"

#include <string>

#include "export/attachment_tables.h"
#include "platform/message_sink.h"
#include "records/extended_types.h"
#include "records/record_cursor.h"
#include "records/value_text.h"
#include "support/execution_log.h"
#include "support/text.h"

namespace exporter {

namespace {
// A Jet 4 database has neither extended dates nor complex columns: the former arrive as ISO
// 8601 text with seven fraction digits, the latter as their joined text (attachments' files go
// to a child table of their own).
const support::Value& targetValue(const analysis::Column& column, const support::Value& value, support::Value& text) {
  const bool complex = value.kind == support::ValueKind::kList || value.kind == support::ValueKind::kAttachments;
  if (value.kind != support::ValueKind::kDateExtended && !complex) return value;
  text.clear();
  text.kind = support::ValueKind::kText;
  text.text = complex ? records::ValueText(column, value) : records::ExtendedDateIsoText(value.integer);
  if (complex && text.text.empty()) text.kind = support::ValueKind::kNull;  // no values: null
  return text;
}
}  // namespace

int AddRowsToTarget(analysis::MdbRecovery& recovery, analysis::Table& table, engine::EngineRecordset& recordset) {
  if (table.dataPages.empty()) return -1;
  records::RecordCursor cursor(recovery, table, records::CursorDecode::kValues);
  support::Value converted;
  while (cursor.next()) {
    const int row = cursor.position().row;
    int values = 0, written = 0;
    try {
      recordset.AddNew();
      for (const analysis::Column& column : table.columns) {
        const support::Value& value = targetValue(column, cursor.value(column), converted);
        if (value.isNull()) continue;
        ++values;
        try {
          recordset.SetFieldValue(column.name, value);
          ++written;
        } catch (...) {
          support::LogError("Value of " + column.name + " not written for Row=" + std::to_string(row));
        }
      }
    } catch (...) {
      support::LogError("Error adding Row=" + std::to_string(row));
      continue;
    }
    if (values > 0 && written == 0) continue;  // nothing of the record could be kept
    try {
      recordset.Update();
      ++table.exportedRecords;
    } catch (...) {
      support::LogError("Update record failed for Row=" + std::to_string(row + 1));
    }
  }
  return cursor.aborted() || recovery.channel->aborted() ? -1 : 1;
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

  std::unique_ptr<engine::EngineRecordset> recordset;
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

  const std::string select = "select * from " + support::BracketedName(table.name) + " where 1=-1";
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
