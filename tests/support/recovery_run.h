// One whole recovery of a file, as a user would run it: the analysis, every record of every
// table fetched screen by screen, everything exported to CSV files and to an Access target.
// The records are kept in a form that compares across runs, so that a damaged copy's run can
// be measured against the intact file's.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace testsupport {

struct RecoveryRun {
  bool analyzed = false;
  std::vector<std::string> messages;  // every message box of the analysis and the exports
  std::string escapedException;       // what escaped the program's calls, empty when nothing did
  // Each record as "column types | values" (an OLE value as its file's size and digest, since
  // the file's name changes with every fetch), with how often it was fetched.
  std::map<std::string, int> records;
  std::set<std::string> tableShapes;  // each table's column types, as records' keys begin
  // Each table's records as value lists (for aligning the columns of an inferred layout with
  // the intact table's), and for the intact run the data page each record came from.
  struct TableRecords {
    std::string shape;
    bool inferred = false;
    std::vector<std::vector<std::string>> rows;
    std::vector<uint32_t> pages;
  };
  std::vector<TableRecords> tableRecords;
  int64_t recordCount = 0;
  int tables = 0;
  // The exports of every table (and query) ended with "Export completed Successfully...".
  bool csvExportSucceeded = false;
  bool accessExportSucceeded = false;
  int64_t csvRecords = 0;  // records the exports wrote
  int64_t accessRecords = 0;
  double seconds = 0;
};

// Runs everything on path with a private object folder and export destination inside
// workFolder (emptied afterwards). The catalog tables' own records are left out of records
// when userTablesOnly is set; that run (the intact file's) also notes each record's data page.
RecoveryRun RunWholeRecovery(const std::string& path, const std::string& workFolder, bool userTablesOnly);

struct RecoveryCount {
  int64_t recovered = 0;      // intact's records found in damaged with equal values
  int64_t inLostTables = 0;   // not found, and damaged has no table of the same column types
  int64_t inFoundTables = 0;  // not found, in a table that damaged still has
  int64_t kept = 0;           // intact's records on pages the damaged copy still holds
  int64_t keptRecovered = 0;  // those of them found in damaged
};

// Compares intact's records with damaged's (each fetched record counted once). The records of a
// table whose layout was inferred are compared with the intact table whose values they match
// best, column by column after aligning the inferred columns with that table's. keptPages:
// the pages, from 0, that the damaged copy still holds where the intact file has them.
RecoveryCount CountRecovered(const RecoveryRun& intact, const RecoveryRun& damaged,
                             size_t keptPages = static_cast<size_t>(-1));

// True for a text the program shows in a message box on a damaged file.
bool IsProgramMessage(const std::string& text);

}  // namespace testsupport
