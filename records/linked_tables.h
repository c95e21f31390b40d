// Linked tables: catalog entries for tables whose rows live in another file or on a server
// (type 6: another Access file, a spreadsheet or a text file; type 4: an ODBC source). The file
// holds only where they are, which is what a user of a front-end file needs to find the data.
#pragma once

#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"

namespace records {

struct LinkedTable {
  std::string name;         // the name this file uses
  std::string sourceTable;  // the table's name in its source (ForeignName)
  std::string database;     // the source file (Database), for type 6
  std::string connect;      // the connect string, any password in it masked
  bool odbc = false;        // type 4
};

// The linked tables the catalog table (MSysObjects) lists, in its row order; empty when the
// catalog table is lost.
std::vector<LinkedTable> ReadLinkedTables(analysis::MdbRecovery& recovery);

// Where the rows are, for people: "Table1 in Z:\\back.accdb", "dbo.Orders over ODBC (DSN=...)".
std::string LinkedTableSource(const LinkedTable& table);

// The connect string with the value of every PWD= (any case) replaced by "***": a stored
// credential never leaves the program.
std::string MaskConnectPassword(const std::string& connect);

}  // namespace records
