// Independent Access readers used as oracles for the files we write: mdbtools (mdb-tables,
// mdb-export) and the npm package mdb-reader run with Node. Each is made available on first
// use (installed when missing and possible); tests skip with the reason when it is not.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/program_runner.h"

namespace testsupport {

// Empty when mdbtools can be used, else why not.
std::string MdbToolsUnavailable();
// mdb-tables -1: the user tables.
std::vector<std::string> MdbToolsTables(const std::string& path);
// mdb-export with dates as YYYY-MM-DD HH:MM:SS, binary as hex and NULL as std::nullopt;
// the first row is the header. Empty when the export fails.
using PeerRow = std::vector<std::optional<std::string>>;
std::vector<PeerRow> MdbToolsExport(const std::string& path, const std::string& table);

// Empty when mdb-reader can be used, else why not.
std::string MdbReaderUnavailable();
// tests/scripts/mdb_reader_dump.mjs: {"tables": [{"name", "columns", "rows"}]}; null on failure.
// With every > 0 only every n-th row and the last are listed, as [row number, cells...].
nlohmann::json MdbReaderDump(const std::string& path, int every = 0);

}  // namespace testsupport

#define SKIP_WITHOUT_MDBTOOLS()                                                          \
  do {                                                                                   \
    const std::string why = ::testsupport::MdbToolsUnavailable();                        \
    if (!why.empty()) GTEST_SKIP() << "mdbtools not available (" << why << "): skipped"; \
  } while (0)

#define SKIP_WITHOUT_MDB_READER()                                                          \
  do {                                                                                     \
    const std::string why = ::testsupport::MdbReaderUnavailable();                         \
    if (!why.empty()) GTEST_SKIP() << "mdb-reader not available (" << why << "): skipped"; \
  } while (0)
