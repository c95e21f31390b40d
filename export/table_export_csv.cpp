// ExportTableToCsv: the table's rows are read one by one as the record list reads them, so the
// file holds exactly the records the viewer shows, deleted rows and moved-row pointers left out.
#include "export/table_export_csv.h"

#include <vector>

#include "export/csv_rules.h"
#include "export/export_folder.h"
#include "export/export_settings.h"
#include "platform/file_system.h"
#include "platform/output_file.h"
#include "records/record_fetch.h"
#include "records/record_text.h"

namespace exporter {

namespace {

std::string csvPath(const CsvTableTarget& target) {
  return platform::JoinPath(platform::JoinPath(target.exportFolder, kTablesFolder), target.fileTitle + ".csv");
}

const analysis::Field* fieldOf(const analysis::Column& column) {
  if (column.columnNumber < 0 || static_cast<size_t>(column.columnNumber) >= analysis::g_rowFields.size())
    return nullptr;
  return &analysis::g_rowFields[static_cast<size_t>(column.columnNumber)];
}

// An attachment column's files, written among the export's objects, as "?{file '<path>'}"
// references joined by "; " (nothing for a row without files).
std::string attachmentReferences(const support::Value& value, const CsvTableTarget& target) {
  std::string text;
  for (const auto& file : value.attachments) {
    const std::string placed = target.objects ? target.objects->placeAttachment(file.name, file.data) : std::string();
    if (!text.empty()) text += "; ";
    text += "?{file '" + (placed.empty() ? file.name : placed) + "'}";
  }
  return text;
}

// The record lines of every data page, written as they are read. False on abort.
bool writeRecords(analysis::MdbRecovery& recovery, analysis::Table& table, const CsvTableTarget& target,
                  platform::OutputFile& file) {
  const ObjectPlacer placeObject = [&target](const std::string& objectFile) {
    return target.objects ? target.objects->place(objectFile) : std::string();
  };
  std::string text;
  std::vector<std::string> fields;
  for (size_t position = 0; position < table.dataPages.size(); ++position) {
    table.currentPageIndex = static_cast<int32_t>(position);
    const int rows = records::LoadDataPage(recovery, table, table.currentPageIndex);
    for (int row = 0; row < rows; ++row) {
      if (recovery.Channel().aborted()) return false;
      if (records::ReadRecord(recovery, table, row, text) == 0) text = records::kErrorReadingRecord;
      if (!records::IsRecordText(text)) {
        recovery.rowIsDeleted = 0;
        continue;
      }
      const std::vector<std::string> values = records::SplitRecordText(text, table.columns.size());
      fields.clear();
      for (size_t i = 0; i < table.columns.size(); ++i) {
        const analysis::Column& column = table.columns[i];
        const analysis::Field* field = fieldOf(column);
        if (field != nullptr && field->value.kind == support::ValueKind::kAttachments)
          fields.push_back(attachmentReferences(field->value, target));
        else
          fields.push_back(CsvValueText(column, values[i], placeObject));
      }
      // A record whose every value is empty (all null) still is a record: it keeps its line, so
      // the file holds as many lines as the statistics count.
      file.write(CsvLine(fields));
      ++table.exportedRecords;
    }
  }
  return !recovery.Channel().aborted();
}

}  // namespace

int ExportTableToCsv(analysis::MdbRecovery& recovery, analysis::Table& table, const CsvTableTarget& target,
                     int exportMode) {
  table.currentPageIndex = 0;
  table.nextRecordIndex = 0;
  table.nextRowInPage = 0;
  table.exportedRecords = 0;
  if (exportMode != kModeSchemaOnly && exportMode != kModeSchemaAndData) return -1;
  if (target.exportFolder.empty() || target.fileTitle.empty()) return -1;  // no place of its own to write
  if (platform::CreateFolder(target.exportFolder)) return -1;              // it had not existed: not ours to fill
  platform::OutputFile file;
  if (!file.open(csvPath(target))) return -1;

  if (exportMode == kModeSchemaOnly) {
    for (const auto& column : table.columns) file.write(CsvSchemaLine(column));
    return file.close() ? 1 : -1;
  }

  analysis::g_rowFields.assign(table.maxColumns, analysis::Field{});
  if (!table.columns.empty()) {
    std::vector<std::string> names;
    for (const auto& column : table.columns) names.push_back(column.name);
    file.write(CsvLine(names));
  }
  // A table without data pages has no records: its file is the header line alone.
  if (table.dataPages.empty()) return file.close() ? 1 : -1;
  const bool complete = writeRecords(recovery, table, target, file);
  const bool written = file.close();
  return complete && written ? 1 : -1;
}

}  // namespace exporter
