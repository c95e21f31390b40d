// Small Access files written in code by our Jet 4 writer, so the GUI tests run without the
// corpus; and damaged copies of them.
#pragma once

#include <QString>
#include <map>
#include <string>
#include <vector>

namespace guitest {

// One table: its CREATE TABLE statement, its name and its rows (column name to value; a column
// left out is NULL).
struct TableRows {
  std::string create;
  std::string name;
  std::vector<std::map<std::string, std::string>> rows;
};

// Writes the tables into folder/fileName and returns the path.
QString WriteDatabase(const QString& folder, const QString& fileName, const std::vector<TableRows>& tables);

// "Numbers": rows 1 to rows of ID, Name ("Row n", NULL every tenth row) and Amount (n * 1.5).
QString WriteNumbersDatabase(const QString& folder, int rows);

// Marks the rows of the table whose definition names column deleted (the row offsets' flags set
// to C000, the row bytes kept), all but the first keep rows in page order; returns how many
// rows were marked.
int DeleteRowsAfter(const QString& path, const std::string& column, int keep);

// Overwrites every data page of the catalog (the pages owned by definition page 2) with
// unreadable bytes; returns how many pages were overwritten.
int DestroyCatalog(const QString& path);

}  // namespace guitest
