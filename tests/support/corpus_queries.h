// The saved queries of the corpus's query test files (queryTestV2003.mdb, queryTestV2007.accdb):
// their names and the SQL text rebuilt for each, equivalent to what Access holds.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace testsupport {

// Query name -> rebuilt SQL; the two files hold the same nine queries.
extern const std::map<std::string, std::string> kCorpusQuerySql;

// Paths of the query test files of the corpus; empty without it.
std::vector<std::string> QueryTestFiles();

}  // namespace testsupport
