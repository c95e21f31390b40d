// tessaly-cli records FILE TABLE [--page N | --all] [--json] [--objects DIR] [--deleted]: a
// table's records in screens of 100, fetched exactly as the record grid fetches them, as typed
// values: the text form shows their display texts, the JSON form their lossless forms
// (value_json.h). With --deleted the deleted and free-space rows follow the live records, and
// every row carries its state.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/analysis_run.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "cli/text_table.h"
#include "cli/value_json.h"
#include "platform/file_system.h"
#include "records/record_fetch.h"
#include "records/record_index.h"
#include "records/recovered_records.h"
#include "records/value_text.h"

namespace cli {

namespace {
struct RecordsOptions {
  std::string path;
  std::string tableName;
  int page = 1;
  bool all = false;
  bool pageGiven = false;
  bool asJson = false;
  bool deleted = false;
  std::string objectsFolder;  // --objects (or its older name --ole-dir): where binary values are saved
};

struct Screen {
  int number = 0;
  std::vector<records::TypedRecord> rows;
  std::vector<std::string> states;  // one per row with --deleted, else empty
};

// Returns 0 when the arguments are good, else the usage error's status.
int parseOptions(const std::vector<std::string>& args, RecordsOptions& options) {
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--json") {
      options.asJson = true;
    } else if (arg == "--deleted") {
      options.deleted = true;
    } else if (arg == "--all") {
      options.all = true;
    } else if (arg == "--page" || arg == "--objects" || arg == "--ole-dir") {
      if (i + 1 >= args.size()) return UsageError("records: " + arg + " needs a value");
      const std::string& value = args[++i];
      if (arg != "--page") {
        options.objectsFolder = value;
        continue;
      }
      char* end = nullptr;
      const long page = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0' || page < 1 || page > 1000000)
        return UsageError("records: --page needs a number from 1");
      options.page = static_cast<int>(page);
      options.pageGiven = true;
    } else if (!arg.empty() && arg[0] == '-') {
      return UsageError("records: unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) return UsageError("records: FILE and TABLE are needed");
  if (options.all && options.pageGiven) return UsageError("records: --page and --all exclude each other");
  options.path = positional[0];
  options.tableName = positional[1];
  return 0;
}

analysis::Table* findTable(const std::string& name) {
  for (auto& table : analysis::g_tables)
    if (table.name == name) return &table;
  return nullptr;
}

Screen fetchScreen(analysis::MdbRecovery& recovery, analysis::Table& table, int number) {
  Screen screen{number, {}, {}};
  records::FetchTypedRecords(recovery, table, screen.rows);
  return screen;
}

// The grid's loader: start at the top, fetch a screen, drop what is not a record; Next follows
// while a screen is full. Each screen asked for goes to onScreen as soon as it is fetched. A
// single screen further down starts where the record index places it, without decoding the
// screens before it; it exists when the records before it fill every earlier screen.
void fetchScreens(analysis::MdbRecovery& recovery, analysis::Table& table, const RecordsOptions& options,
                  const std::function<void(const Screen&)>& onScreen) {
  analysis::ProgressChannel& channel = recovery.Channel();
  channel.abort = 0;
  channel.done = 0;
  table.currentPageIndex = 0;
  table.nextRecordIndex = 0;
  table.nextRowInPage = 0;
  if (!options.all && options.page > 1) {
    const records::RecordIndex index(recovery, table);
    const int64_t first = static_cast<int64_t>(options.page - 1) * records::kRecordsPerScreen;
    if (index.recordCount() < first) return;
    index.positionAt(table, first);
    onScreen(fetchScreen(recovery, table, options.page));
    return;
  }
  for (int number = 1;; ++number) {
    const Screen screen = fetchScreen(recovery, table, number);
    if (options.all || number == options.page) onScreen(screen);
    const bool full = screen.rows.size() >= static_cast<size_t>(records::kRecordsPerScreen);
    if (options.all ? !full : number >= options.page) break;
  }
}

// With --deleted: every live record, then every recovered row, cut into screens of 100.
void fetchScreensWithRecovered(analysis::MdbRecovery& recovery, analysis::Table& table, const RecordsOptions& options,
                               const std::function<void(const Screen&)>& onScreen) {
  RecordsOptions everything = options;
  everything.all = true;
  std::vector<records::TypedRecord> rows;
  std::vector<std::string> states;
  fetchScreens(recovery, table, everything, [&](const Screen& screen) {
    rows.insert(rows.end(), screen.rows.begin(), screen.rows.end());
    states.insert(states.end(), screen.rows.size(), records::RowStateName(records::RowState::kLive));
  });
  for (auto& record : records::ReadRecoveredRecords(recovery, table)) {
    rows.push_back(std::move(record.values));
    states.push_back(records::RowStateName(record.state));
  }
  const size_t perScreen = records::kRecordsPerScreen;
  for (size_t first = 0, number = 1; first < rows.size() || number == 1; first += perScreen, ++number) {
    const size_t last = std::min(rows.size(), first + perScreen);
    if (options.all || static_cast<int>(number) == options.page) {
      Screen screen{static_cast<int>(number), {}, {}};
      screen.rows.assign(rows.begin() + static_cast<long>(first), rows.begin() + static_cast<long>(last));
      screen.states.assign(states.begin() + static_cast<long>(first), states.begin() + static_cast<long>(last));
      onScreen(screen);
    }
    if (!options.all && static_cast<int>(number) >= options.page) break;
  }
}

void forEachScreen(analysis::MdbRecovery& recovery, analysis::Table& table, const RecordsOptions& options,
                   const std::function<void(const Screen&)>& onScreen) {
  options.deleted ? fetchScreensWithRecovered(recovery, table, options, onScreen)
                  : fetchScreens(recovery, table, options, onScreen);
}

std::string jsonText(const nlohmann::json& value) {
  return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// {"table", "columns", "pages": [{"page", "rows"}]}, one page per line as it is fetched.
void printJson(analysis::MdbRecovery& recovery, analysis::Table& table, const RecordsOptions& options) {
  nlohmann::json columns = nlohmann::json::array();
  for (const auto& column : table.columns) columns.push_back(column.name);
  std::printf("{\"table\": %s, \"columns\": %s, \"pages\": [", jsonText(table.name).c_str(), jsonText(columns).c_str());
  bool first = true;
  std::unique_ptr<ObjectSaver> saver;
  if (!options.objectsFolder.empty()) saver = std::make_unique<ObjectSaver>(options.objectsFolder);
  forEachScreen(recovery, table, options, [&](const Screen& screen) {
    nlohmann::json rows = nlohmann::json::array();
    for (const auto& record : screen.rows) {
      nlohmann::json values = nlohmann::json::array();
      for (size_t c = 0; c < record.size() && c < table.columns.size(); ++c)
        values.push_back(ValueJson(table.columns[c], record[c], saver.get()));
      rows.push_back(std::move(values));
    }
    nlohmann::json page = {{"page", screen.number}, {"rows", std::move(rows)}};
    if (options.deleted) page["states"] = screen.states;
    std::printf("%s\n  %s", first ? "" : ",", jsonText(page).c_str());
    first = false;
  });
  std::printf("]}\n");
}

void printText(analysis::MdbRecovery& recovery, analysis::Table& table, const RecordsOptions& options) {
  std::vector<std::string> header;
  if (options.deleted) header.push_back("state");
  for (const auto& column : table.columns) header.push_back(column.name);
  forEachScreen(recovery, table, options, [&](const Screen& screen) {
    std::printf("%s, page %d: %zu records\n", table.name.c_str(), screen.number, screen.rows.size());
    std::vector<std::vector<std::string>> rows;
    for (size_t r = 0; r < screen.rows.size(); ++r) {
      const records::TypedRecord& record = screen.rows[r];
      std::vector<std::string>& cells = rows.emplace_back();
      if (r < screen.states.size()) cells.push_back(screen.states[r]);
      for (size_t c = 0; c < record.size() && c < table.columns.size(); ++c)
        cells.push_back(records::ValueText(table.columns[c], record[c]));
    }
    std::fputs(FormatTextTable(header, rows).c_str(), stdout);
  });
}
}  // namespace

int RecordsCommand(const std::vector<std::string>& args) {
  RecordsOptions options;
  if (int status = parseOptions(args, options); status != 0) return status;
  if (!CheckReadableFile(options.path)) return 2;
  if (!options.objectsFolder.empty() && !platform::CreateFolders(options.objectsFolder)) {
    std::fprintf(stderr, "tessaly-cli: records: cannot create %s\n", options.objectsFolder.c_str());
    return 2;
  }

  Session session;
  ConsoleProgress console(false, StderrIsTerminal());
  const bool ok = RunAnalysis(session.recovery(), options.path, console);
  int status = 0;
  if (!ok) {
    for (const auto& message : console.messages()) std::fprintf(stderr, "tessaly-cli: %s\n", message.c_str());
    status = 1;
  } else if (analysis::Table* table = findTable(options.tableName); table == nullptr) {
    std::fprintf(stderr, "tessaly-cli: records: no table named %s\n", options.tableName.c_str());
    status = 1;
  } else {
    options.asJson ? printJson(session.recovery(), *table, options) : printText(session.recovery(), *table, options);
  }
  return status;
}

}  // namespace cli
