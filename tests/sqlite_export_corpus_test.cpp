// Every user table of every Jet 4 / ACE file of the corpus exported into a new SQLite database
// and read back through sqlite3 against the peer reader's rows in expected/: as many rows as the
// peer returns, integers and texts exactly, doubles and singles as the same binary value,
// currency and NUMERIC as the same decimal, dates equal, binary and OLE values as the stored
// bytes, null as NULL. Python's sqlite3 reads every table the same way.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "platform/file_system.h"
#include "tests/support/analysed_file.h"
#include "tests/support/corpus.h"
#include "tests/support/peer_cells.h"
#include "tests/support/peer_rows.h"
#include "tests/support/program_runner.h"

namespace {

using nlohmann::json;

struct Cell {
  int storage = SQLITE_NULL;
  std::string text;  // INTEGER and TEXT as text, BLOB as its bytes
  double real = 0;
};
using Row = std::vector<Cell>;

std::string lowerGuid(std::string text) {
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '{' || c == '}'; }), text.end());
  for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool sameCell(const Cell& ours, const json& theirs, const std::string& type) {
  if (type == "complex") return true;  // a key into a hidden table: outside what a table holds
  if (theirs.is_null()) return ours.storage == SQLITE_NULL;
  if (!theirs.is_string()) return false;
  const std::string peer = theirs.get<std::string>();
  switch (ours.storage) {
    case SQLITE_INTEGER: return ours.text == peer && type != "text" && type != "memo";
    case SQLITE_FLOAT:
      if (type == "float") return static_cast<float>(ours.real) == std::strtof(peer.c_str(), nullptr);
      if (type == "double") {
        const double theirsValue = std::strtod(peer.c_str(), nullptr);
        return std::memcmp(&ours.real, &theirsValue, sizeof theirsValue) == 0;
      }
      return false;
    case SQLITE_TEXT:
      if (type == "datetime") return ours.text.substr(0, 19) == peer;
      if (type == "numeric" || type == "currency")
        return testsupport::PlainDecimal(ours.text) == testsupport::PlainDecimal(peer);
      if (type == "repid") return lowerGuid(ours.text) == lowerGuid(peer);
      return ours.text == peer;
    case SQLITE_BLOB:
      return (type == "binary" || type == "ole") &&
             testsupport::PeerBinaryForm(std::vector<uint8_t>(ours.text.begin(), ours.text.end())) == peer;
    default: return false;
  }
}

std::vector<Row> readTable(sqlite3* db, const std::string& table, std::vector<std::string>& names) {
  std::string quoted = "\"";
  for (char c : table) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  const std::string sql = "SELECT * FROM " + quoted + "\" ORDER BY rowid";
  sqlite3_stmt* select = nullptr;
  std::vector<Row> rows;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &select, nullptr) != SQLITE_OK) {
    sqlite3_finalize(select);
    return rows;
  }
  for (int c = 0; c < sqlite3_column_count(select); ++c) names.push_back(sqlite3_column_name(select, c));
  while (sqlite3_step(select) == SQLITE_ROW) {
    Row row;
    for (int c = 0; c < sqlite3_column_count(select); ++c) {
      Cell cell;
      cell.storage = sqlite3_column_type(select, c);
      if (cell.storage == SQLITE_FLOAT) cell.real = sqlite3_column_double(select, c);
      const void* bytes = cell.storage == SQLITE_BLOB ? sqlite3_column_blob(select, c)
                                                      : static_cast<const void*>(sqlite3_column_text(select, c));
      if (bytes && cell.storage != SQLITE_NULL)
        cell.text.assign(static_cast<const char*>(bytes), static_cast<size_t>(sqlite3_column_bytes(select, c)));
      row.push_back(cell);
    }
    rows.push_back(row);
  }
  sqlite3_finalize(select);
  return rows;
}

// Python's sqlite3 over the same tables, as a check on the reading above: each cell as
// [storage, text] with REAL as float.hex() (the exact bits) and TEXT and BLOB as the hex of their
// bytes. "" when it reads what rowsByTable holds, else what differs; "no python3" when Python
// cannot be run.
std::string pythonSqliteDifference(const std::string& database,
                                   const std::map<std::string, std::vector<Row>>& rowsByTable) {
  static const char* kScript =
      "import json, sqlite3, sys\n"
      "db = sqlite3.connect('file:' + sys.argv[1] + '?mode=ro', uri=True)\n"
      "db.text_factory = bytes\n"
      "def cell(v):\n"
      "    if v is None: return ['null', '']\n"
      "    if isinstance(v, int): return ['integer', str(v)]\n"
      "    if isinstance(v, float): return ['real', v.hex()]\n"
      "    if isinstance(v, bytes): return ['bytes', v.hex()]\n"
      "    return ['other', repr(v)]\n"
      "out = {}\n"
      "for name in sys.argv[2:]:\n"
      "    q = '\"' + name.replace('\"', '\"\"') + '\"'\n"
      "    out[name] = [[cell(v) for v in row] for row in db.execute('SELECT * FROM ' + q + ' ORDER BY rowid')]\n"
      "print(json.dumps(out))\n";
  std::vector<std::string> args{"python3", "-c", kScript, database};
  for (const auto& [name, rows] : rowsByTable) args.push_back(name);
  const testsupport::ProgramResult python = testsupport::RunProgram(args);
  if (python.exitCode != 0) return "no python3";
  const json read = json::parse(python.out, nullptr, false);
  if (!read.is_object()) return "python3 gave no tables";
  for (const auto& [name, rows] : rowsByTable) {
    const json& theirs = read[name];
    if (theirs.size() != rows.size()) return name + ": python3 reads " + std::to_string(theirs.size()) + " rows";
    for (size_t r = 0; r < rows.size(); ++r) {
      for (size_t c = 0; c < rows[r].size(); ++c) {
        const Cell& ours = rows[r][c];
        std::string storage = "null", text;
        char hex[3];
        switch (ours.storage) {
          case SQLITE_INTEGER: storage = "integer", text = ours.text; break;
          case SQLITE_FLOAT: {
            // Python's float.hex() is exact: read back, it must give the same bits.
            storage = "real";
            const std::string theirsText = theirs[r][c][1].is_string() ? theirs[r][c][1].get<std::string>() : "";
            const double value = std::strtod(theirsText.c_str(), nullptr);
            text = std::memcmp(&value, &ours.real, sizeof value) == 0 ? theirsText : "differs";
            break;
          }
          case SQLITE_TEXT:
          case SQLITE_BLOB:
            storage = "bytes";
            for (unsigned char byte : ours.text) std::snprintf(hex, sizeof hex, "%02x", byte), text += hex;
            break;
          default: break;
        }
        if (theirs[r][c] != json::array({storage, text}))
          return name + " row " + std::to_string(r + 1) + " column " + std::to_string(c + 1) + ": python3 " +
                 theirs[r][c].dump();
      }
    }
  }
  return "";
}

void compareTable(const std::string& file, const json& expected, sqlite3* db, testsupport::PeerTally& tally,
                  std::map<std::string, std::vector<Row>>& rowsByTable) {
  const std::string table = expected["name"];
  std::vector<std::string> names;
  const std::vector<Row> rows = readTable(db, table, names);
  rowsByTable[table] = rows;
  const auto& columns = expected["columns"];
  if (names.empty()) {
    tally.failures.push_back(file + ": no table " + table + " in the SQLite database");
    return;
  }
  std::vector<int> position;
  for (const auto& column : columns) {
    auto at = std::find(names.begin(), names.end(), testsupport::CleanedName(column["name"].get<std::string>()));
    position.push_back(at == names.end() ? -1 : static_cast<int>(at - names.begin()));
    if (at == names.end()) tally.failures.push_back(file + " " + table + ": no column " + column["name"].dump());
  }
  if (rows.size() != expected["rowsReturned"].get<size_t>())
    tally.failures.push_back(file + " " + table + ": " + std::to_string(rows.size()) + " rows, the peer has " +
                             expected["rowsReturned"].dump());
  auto agrees = [&](const json& theirs, const Row& mine) {
    for (size_t c = 0; c < columns.size(); ++c)
      if (position[c] < 0 || !sameCell(mine[position[c]], theirs[c], columns[c]["type"])) return false;
    return true;
  };
  testsupport::MatchPeerRows(
      expected["rows"], columns.size(), 0, rows.size(),
      [&](const json& theirs, size_t row) { return agrees(theirs, rows[row]); },
      [&](size_t index, size_t) {
        const json& theirs = expected["rows"][index];
        std::string differences;
        for (size_t c = 0; c < columns.size() && index < rows.size(); ++c)
          if (position[c] >= 0 && !sameCell(rows[index][position[c]], theirs[c], columns[c]["type"]))
            differences += " " + columns[c]["name"].get<std::string>() + ": ours (" +
                           std::to_string(rows[index][position[c]].storage) + ") \"" +
                           rows[index][position[c]].text.substr(0, 60) + "\", peer " + theirs[c].dump() + ";";
        return file + " " + table + ": no row for the peer's row " + std::to_string(index + 1) + differences;
      },
      tally);
}

TEST(SqliteExportCorpusTest, EveryUserTableReadsBackAsThePeerReadsIt) {
  SKIP_WITHOUT_CORPUS();
  testsupport::PeerTally total;
  for (const auto& [path, file, expected] : testsupport::PeerReadDatabases()) {
    testsupport::AnalysedFile analysed;
    ASSERT_TRUE(analysed.analyse(path).ok) << file;

    testsupport::TempFolder destination;
    const exporter::ExportOutcome outcome =
        analysed.exportUserTables(exporter::kFormatSqlite, destination.path()).outcome;
    EXPECT_TRUE(outcome.succeeded()) << file << ": " << outcome.finalLine;
    ASSERT_TRUE(platform::FileExists(outcome.target)) << file;
    EXPECT_NE(outcome.target.find("/Recovered_corpus_"), std::string::npos) << outcome.target;
    EXPECT_EQ(outcome.target.substr(outcome.target.size() - 7), ".sqlite");

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(outcome.target.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK) << file;
    testsupport::PeerTally tally;
    std::map<std::string, std::vector<Row>> rowsByTable;
    for (const auto& table : expected["tables"])
      if (table.contains("columns")) compareTable(file, table, db, tally, rowsByTable);  // else the peer refused it
    sqlite3_close(db);
    const std::string python = pythonSqliteDifference(outcome.target, rowsByTable);
    if (python == "no python3")
      std::printf("[ sqlite export ] python3 not found: read back through the C interface only\n");
    else if (!python.empty())
      tally.failures.push_back(file + ": Python's sqlite3 reads it otherwise: " + python);
    for (const auto& row : outcome.statistics)
      for (const auto& table : expected["tables"])
        if (table["name"] == row.tableName && table.contains("rowsReturned"))
          EXPECT_EQ(row.exportedRecords, table["rowsReturned"].get<int>()) << file << " " << row.tableName;
    tally.report("sqlite export", file, total);
  }
  total.reportTotal("sqlite export");
  EXPECT_GT(total.rows, 0u);
}

}  // namespace
