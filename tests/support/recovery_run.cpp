// Whole recoveries for the damage tests and the recovery report.
#include "tests/support/recovery_run.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <functional>

#include "analysis/mdb_recovery.h"
#include "export/analysis_steps.h"
#include "export/export_folder.h"
#include "export/export_runner.h"
#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "records/ole_files.h"
#include "records/record_fetch.h"
#include "records/record_text.h"
#include "records/type_names.h"
#include "tests/support/analysis_harness.h"
#include "tests/support/corpus.h"

namespace testsupport {

namespace {
bool startsWith(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0;
}

// An OLE value names a new file at every fetch: compare the file's bytes instead.
std::string objectDigest(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  const std::string content(bytes.begin(), bytes.end());
  return "object of " + std::to_string(bytes.size()) + " bytes, digest " +
         std::to_string(std::hash<std::string>{}(content));
}

// Column names are no values: a damaged name must not hide a record whose values all came back.
std::string tableShape(const analysis::Table& table) {
  std::string shape;
  for (const auto& column : table.columns) shape += std::to_string(column.type) + "\x1f";
  return shape + "|";
}

std::string recordKey(const analysis::Table& table, std::vector<std::string> values) {
  std::string key = tableShape(table);
  for (size_t c = 0; c < values.size() && c < table.columns.size(); ++c) {
    if (table.columns[c].type == records::kTypeOle && values[c] != "NULL") values[c] = objectDigest(values[c]);
    key += values[c] + "\x1f";
  }
  return key;
}

// Every screen of the table, as the record grid pages through it.
void fetchEveryRecord(analysis::MdbRecovery& recovery, analysis::Table& table, bool keep, RecoveryRun& run) {
  table.currentPageIndex = -1;
  table.nextRecordIndex = 0;
  table.nextRowInPage = 0;
  std::vector<std::string> texts(records::kRecordsPerScreen);
  for (;;) {
    texts.assign(records::kRecordsPerScreen, std::string());
    if (records::FetchRecords(recovery, table, texts.data()) != 1) break;
    if (keep) {
      for (const auto& values : records::ScreenRecords(texts.data(), texts.size(), table.columns.size())) {
        ++run.records[recordKey(table, values)];
        ++run.recordCount;
      }
    }
    platform::DeleteFolderTree(records::OleFilesFolder());
    // A screen that is not full is the table's last.
    if (std::count_if(texts.begin(), texts.end(), records::IsRecordText) < records::kRecordsPerScreen) break;
  }
}

class QuietExportView : public exporter::ExportView {
 public:
  void statusInserted(const std::string&) override {}
  void percentChanged(int) override {}
  void finished(const std::string&, const std::vector<exporter::ExportStatistic>&) override {}
};

// Every table, schema and data, as the export options dialog would ask for it; the records the
// export wrote go to *records. True when the export completed without errors.
bool exportEverything(analysis::MdbRecovery& recovery, int format, const std::string& destination, int64_t* records) {
  exporter::ExportSettings settings;
  settings.m_nExportFormat = format;
  settings.m_nExportMode = exporter::kModeSchemaAndData;
  settings.m_strFileTitle = platform::FileTitle(recovery.path);
  settings.m_strExportFolder =
      format == exporter::kFormatCsv ? exporter::PrepareCsvExportFolder(destination) : destination;
  for (auto& table : analysis::g_tables) settings.m_exportTables.push_back(&table);
  for (auto& query : analysis::g_queries) settings.m_exportQueries.push_back(query.get());
  QuietExportView view;
  const exporter::ExportOutcome outcome = exporter::RunExport(recovery, settings, view);
  for (const auto& statistic : outcome.statistics) *records += statistic.exportedRecords;
  return outcome.succeeded();
}
}  // namespace

RecoveryRun RunWholeRecovery(const std::string& path, const std::string& workFolder, bool userTablesOnly) {
  RecoveryRun run;
  const auto started = std::chrono::steady_clock::now();
  const std::string objects = platform::JoinPath(workFolder, "objects");
  const std::string csvFolder = platform::JoinPath(workFolder, "csv");
  const std::string accessFolder = platform::JoinPath(workFolder, "access");
  for (const auto& folder : {csvFolder, accessFolder}) platform::CreateFolders(folder);
  records::SetOleFilesFolder(objects);
  RecordingView view;
  try {
    analysis::ProgressChannel channel;
    analysis::MdbRecovery recovery(channel);
    exporter::InstallAnalysisSteps(recovery);
    const AnalysisOutcome outcome = RunAnalysis(recovery, path, &view);
    run.analyzed = outcome.ok;
    platform::InstallMessageSink(&view);
    channel.setUnattended(true);
    if (run.analyzed) {
      channel.abort = 0;
      run.tables = static_cast<int>(analysis::g_tables.size());
      for (analysis::Table& table : analysis::g_tables) {
        run.tableShapes.insert(tableShape(table));
        fetchEveryRecord(recovery, table, !userTablesOnly || !startsWith(table.name, "ASys"), run);
      }
      run.csvExportSucceeded = exportEverything(recovery, exporter::kFormatCsv, csvFolder, &run.csvRecords);
      run.accessExportSucceeded = exportEverything(recovery, exporter::kFormatAccess, accessFolder, &run.accessRecords);
    }
  } catch (const std::exception& error) {
    run.escapedException = error.what();
  } catch (...) {
    run.escapedException = "an exception of unknown type";
  }
  platform::InstallMessageSink(nullptr);
  run.messages = view.messages();
  records::SetOleFilesFolder("");
  for (const auto& folder : {objects, csvFolder, accessFolder}) platform::DeleteFolderTree(folder);
  analysis::g_tables.clear();
  analysis::g_pageMap.clear();
  analysis::g_queries.clear();
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return run;
}

RecoveryCount CountRecovered(const RecoveryRun& intact, const RecoveryRun& damaged) {
  RecoveryCount count;
  for (const auto& [key, times] : intact.records) {
    const auto found = damaged.records.find(key);
    const int recovered = found != damaged.records.end() ? std::min(times, found->second) : 0;
    count.recovered += recovered;
    const bool tableFound = damaged.tableShapes.count(key.substr(0, key.find('|') + 1)) > 0;
    (tableFound ? count.inFoundTables : count.inLostTables) += times - recovered;
  }
  return count;
}

bool IsProgramMessage(const std::string& text) {
  return text == " This file is highly corrupted and cannot be recovered. " || text == "File format not Supported." ||
         startsWith(text, "Create table query failed.. \r\n") || startsWith(text, "Error creating database : ");
}

}  // namespace testsupport
