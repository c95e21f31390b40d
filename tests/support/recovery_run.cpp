// Whole recoveries for the damage tests and the recovery report.
#include "tests/support/recovery_run.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <fstream>
#include <functional>

#include "analysis/mdb_recovery.h"
#include "export/access_target.h"
#include "export/analysis_steps.h"
#include "export/csv_rules.h"
#include "export/table_export_access.h"
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
bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

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

// Every screen of the table, as the record grid pages through it, each record also written
// as a line of the table's CSV file. True when the file was written.
bool fetchEveryRecord(analysis::MdbRecovery& recovery, analysis::Table& table, const std::string& csvPath,
                      bool keep, RecoveryRun& run) {
  std::ofstream csv(csvPath, std::ios::binary);
  std::vector<std::string> header;
  for (const auto& column : table.columns) header.push_back(column.name);
  csv << exporter::CsvLine(header);
  table.currentPageIndex = -1;
  table.nextRecordIndex = 0;
  table.nextRowInPage = 0;
  std::vector<std::string> texts(records::kRecordsPerScreen);
  const exporter::ObjectPlacer placeObject = [](const std::string& file) { return file; };
  for (;;) {
    texts.assign(records::kRecordsPerScreen, std::string());
    if (records::FetchRecords(recovery, table, texts.data()) != 1) break;
    const auto screen = records::ScreenRecords(texts.data(), texts.size(), table.columns.size());
    for (const auto& values : screen) {
      std::vector<std::string> fields;
      for (size_t c = 0; c < values.size(); ++c)
        fields.push_back(exporter::CsvValueText(table.columns[c], values[c], placeObject));
      csv << exporter::CsvLine(fields);
      if (keep) {
        ++run.records[recordKey(table, values)];
        ++run.recordCount;
      }
    }
    platform::DeleteFolderTree(records::OleFilesFolder());
    // A screen that is not full is the table's last.
    if (std::count_if(texts.begin(), texts.end(), records::IsRecordText) < records::kRecordsPerScreen) break;
  }
  return static_cast<bool>(csv.flush());
}

bool exportToAccess(analysis::MdbRecovery& recovery, const std::string& folder, RecoveryRun& run) {
  if (exporter::CreateTarget(recovery, folder, platform::FileTitle(recovery.path)) != 1) return false;
  bool all = true;
  for (auto& table : analysis::g_tables) {
    all = exporter::ExportTableToAccess(recovery, table, exporter::kModeSchemaAndData) == 1 && all;
    run.accessRecords += table.exportedRecords;
    platform::DeleteFolderTree(records::OleFilesFolder());
  }
  return exporter::CloseTarget(recovery) == 1 && all;
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
      for (size_t i = 0; i < analysis::g_tables.size(); ++i) {
        analysis::Table& table = analysis::g_tables[i];
        const bool keep = !userTablesOnly || !startsWith(table.name, "ASys");
        run.tableShapes.insert(tableShape(table));
        const std::string csvPath = platform::JoinPath(csvFolder, std::to_string(i) + ".csv");
        if (fetchEveryRecord(recovery, table, csvPath, keep, run)) ++run.csvFilesWritten;
      }
      run.accessTargetWritten = exportToAccess(recovery, accessFolder, run);
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
