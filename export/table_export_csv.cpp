// ExportTableToCsv: the table's records are read by the record cursor as the record list reads
// them, so the file holds exactly the records the viewer shows, deleted rows and moved-row
// pointers left out; each value is written from its typed form, attachments as files beside the
// tables (a file that cannot be written fails the table, after its lines are written).
#include "export/table_export_csv.h"

#include <string>
#include <vector>

#include "export/attachment_files.h"
#include "export/csv_rules.h"
#include "export/export_folder.h"
#include "export/export_settings.h"
#include "platform/file_system.h"
#include "platform/output_file.h"
#include "records/record_cursor.h"

namespace exporter {

namespace {

std::string csvPath(const CsvTableTarget& target) {
  return platform::JoinPath(platform::JoinPath(target.exportFolder, kTablesFolder), target.fileTitle + ".csv");
}

// The record lines of every data page, written as they are read, attachment files beside them.
// False on abort.
bool writeRecords(analysis::MdbRecovery& recovery, analysis::Table& table, platform::OutputFile& file,
                  AttachmentFiles& attachments) {
  records::RecordCursor cursor(recovery, table, records::CursorDecode::kValues);
  std::string line;
  while (cursor.next()) {
    line.clear();
    for (size_t i = 0; i < table.columns.size(); ++i) {
      if (i) line += ',';
      AppendCsvField(attachments, table.columns[i], table.exportedRecords + 1, cursor.value(table.columns[i]), line);
    }
    // A record whose every value is null still is a record: it keeps its line, so the file
    // holds as many lines as the statistics count.
    line += '\n';
    file.write(line);
    ++table.exportedRecords;
  }
  return !cursor.aborted();
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

  if (!table.columns.empty()) {
    std::vector<std::string> names;
    for (const auto& column : table.columns) names.push_back(column.name);
    file.write(CsvLine(names));
  }
  // A table without data pages has no records: its file is the header line alone.
  if (table.dataPages.empty()) return file.close() ? 1 : -1;
  AttachmentFiles attachments(target.exportFolder, target.fileTitle);
  const bool complete = writeRecords(recovery, table, file, attachments);
  const bool written = file.close();
  return complete && written && !attachments.failed() ? 1 : -1;
}

}  // namespace exporter
