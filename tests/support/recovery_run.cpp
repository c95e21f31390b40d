// Whole recoveries for the damage tests and the recovery report.
#include "tests/support/recovery_run.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "analysis/mdb_recovery.h"
#include "export/export_folder.h"
#include "export/export_runner.h"
#include "platform/file_system.h"
#include "platform/message_sink.h"
#include "records/ole_files.h"
#include "records/record_fetch.h"
#include "records/record_text.h"
#include "records/type_names.h"
#include "tests/support/analysed_file.h"
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

// An OLE value as its file's digest, so that values compare across runs.
std::vector<std::string> comparableValues(const analysis::Table& table, std::vector<std::string> values) {
  for (size_t c = 0; c < values.size() && c < table.columns.size(); ++c)
    if (table.columns[c].type == records::kTypeOle && values[c] != "NULL") values[c] = objectDigest(values[c]);
  values.resize(std::min(values.size(), table.columns.size()));
  return values;
}

std::string recordKey(const std::string& shape, const std::vector<std::string>& values) {
  std::string key = shape;
  for (const auto& value : values) key += value + "\x1f";
  return key;
}

// Every screen of the table, as the record grid pages through it; page is noted with each record.
void fetchEveryRecord(analysis::MdbRecovery& recovery, analysis::Table& table, bool keep, RecoveryRun& run,
                      RecoveryRun::TableRecords& kept, uint32_t page) {
  table.currentPageIndex = -1;
  table.nextRecordIndex = 0;
  table.nextRowInPage = 0;
  std::vector<std::string> texts(records::kRecordsPerScreen);
  for (;;) {
    texts.assign(records::kRecordsPerScreen, std::string());
    if (records::FetchRecords(recovery, table, texts.data()) != 1) break;
    if (keep) {
      for (const auto& values : records::ScreenRecords(texts.data(), texts.size(), table.columns.size())) {
        std::vector<std::string> comparable = comparableValues(table, values);
        ++run.records[recordKey(kept.shape, comparable)];
        ++run.recordCount;
        kept.rows.push_back(std::move(comparable));
        kept.pages.push_back(page);
      }
    }
    platform::DeleteFolderTree(records::OleFilesFolder());
    // A screen that is not full is the table's last.
    if (std::count_if(texts.begin(), texts.end(), records::IsRecordText) < records::kRecordsPerScreen) break;
  }
}

// The intact file's tables are read page by page, so that each record's page is known.
void fetchTable(analysis::MdbRecovery& recovery, analysis::Table& table, bool keep, bool byPage, RecoveryRun& run) {
  RecoveryRun::TableRecords kept;
  kept.shape = tableShape(table);
  kept.inferred = !table.layoutSource.empty();
  if (keep && byPage) {
    const std::vector<int32_t> pages = table.dataPages;
    for (int32_t page : pages) {
      table.dataPages = {page};
      fetchEveryRecord(recovery, table, keep, run, kept, static_cast<uint32_t>(page));
    }
    table.dataPages = pages;
  } else {
    fetchEveryRecord(recovery, table, keep, run, kept, 0);
  }
  if (keep) run.tableRecords.push_back(std::move(kept));
}

// Inferred columns matched to an intact table's columns by the values they share.
struct Alignment {
  const RecoveryRun::TableRecords* intact = nullptr;
  std::vector<int> inferredColumnOf;  // per intact column, -1 when none matches
  int64_t shared = 0;
};

std::vector<std::map<std::string, int64_t>> columnValues(const RecoveryRun::TableRecords& table, size_t columns) {
  std::vector<std::map<std::string, int64_t>> values(columns);
  for (const auto& row : table.rows)
    for (size_t c = 0; c < columns && c < row.size(); ++c) ++values[c][row[c]];
  return values;
}

Alignment align(const RecoveryRun::TableRecords& intact, const RecoveryRun::TableRecords& inferred) {
  Alignment alignment;
  if (intact.rows.empty() || inferred.rows.empty()) return alignment;
  const size_t intactColumns = intact.rows.front().size(), inferredColumns = inferred.rows.front().size();
  const auto a = columnValues(intact, intactColumns), b = columnValues(inferred, inferredColumns);
  std::vector<std::tuple<int64_t, size_t, size_t>> pairs;
  for (size_t i = 0; i < intactColumns; ++i)
    for (size_t j = 0; j < inferredColumns; ++j) {
      int64_t shared = 0;
      for (const auto& [value, times] : a[i]) {
        const auto found = b[j].find(value);
        if (found != b[j].end()) shared += std::min(times, found->second);
      }
      if (shared > 0) pairs.emplace_back(shared, i, j);
    }
  std::sort(pairs.rbegin(), pairs.rend());
  alignment.intact = &intact;
  alignment.inferredColumnOf.assign(intactColumns, -1);
  std::vector<bool> taken(inferredColumns, false);
  for (const auto& [shared, i, j] : pairs) {
    if (alignment.inferredColumnOf[i] >= 0 || taken[j]) continue;
    alignment.inferredColumnOf[i] = static_cast<int>(j);
    taken[j] = true;
    alignment.shared += shared;
  }
  return alignment;
}

Alignment bestAlignment(const RecoveryRun& intact, const RecoveryRun::TableRecords& inferred) {
  Alignment best;
  for (const auto& table : intact.tableRecords) {
    Alignment candidate = align(table, inferred);
    if (candidate.intact != nullptr && candidate.shared > best.shared) best = std::move(candidate);
  }
  return best;
}

std::string alignedKey(const Alignment& alignment, const std::vector<std::string>& row) {
  std::vector<std::string> values;
  for (int j : alignment.inferredColumnOf)
    values.push_back(j >= 0 && static_cast<size_t>(j) < row.size() ? row[static_cast<size_t>(j)] : "\x01missing");
  return recordKey(alignment.intact->shape, values);
}

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
    AnalysedFile analysed;
    analysis::MdbRecovery& recovery = analysed.recovery();
    analysis::ProgressChannel& channel = analysed.channel();
    const AnalysisOutcome outcome = analysed.analyse(path, &view);
    run.analyzed = outcome.ok;
    platform::InstallMessageSink(&view);
    channel.setUnattended(true);
    if (run.analyzed) {
      channel.abort = 0;
      run.tables = static_cast<int>(analysis::g_tables.size());
      for (analysis::Table& table : analysis::g_tables) {
        run.tableShapes.insert(tableShape(table));
        fetchTable(recovery, table, !userTablesOnly || !startsWith(table.name, "ASys"), userTablesOnly, run);
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

RecoveryCount CountRecovered(const RecoveryRun& intact, const RecoveryRun& damaged, size_t keptPages) {
  std::map<std::string, int> found = damaged.records;
  std::set<std::string> shapes = damaged.tableShapes;
  for (const auto& table : damaged.tableRecords) {
    if (!table.inferred) continue;
    const Alignment alignment = bestAlignment(intact, table);
    if (alignment.intact == nullptr) continue;
    shapes.insert(alignment.intact->shape);
    for (const auto& row : table.rows) ++found[alignedKey(alignment, row)];
  }
  std::map<std::string, int> kept;
  for (const auto& table : intact.tableRecords)
    for (size_t r = 0; r < table.rows.size(); ++r)
      if (r >= table.pages.size() || table.pages[r] < keptPages) ++kept[recordKey(table.shape, table.rows[r])];

  RecoveryCount count;
  for (const auto& [key, times] : intact.records) {
    const auto match = found.find(key);
    const int recovered = match != found.end() ? std::min(times, match->second) : 0;
    count.recovered += recovered;
    const auto keptTimes = kept.find(key);
    const int onKeptPages = keptTimes != kept.end() ? keptTimes->second : 0;
    count.kept += onKeptPages;
    count.keptRecovered += std::min(recovered, onKeptPages);
    const bool tableFound = shapes.count(key.substr(0, key.find('|') + 1)) > 0;
    (tableFound ? count.inFoundTables : count.inLostTables) += times - recovered;
  }
  return count;
}

bool IsProgramMessage(const std::string& text) {
  return text == " This file is highly corrupted and cannot be recovered. " || text == "File format not Supported." ||
         startsWith(text, "Create table query failed.. \r\n") || startsWith(text, "Error creating database : ");
}

}  // namespace testsupport
