// The saved queries of the corpus's query test files: every query, with the SQL text that is
// equivalent to what Access holds for it.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "analysis/mdb_recovery.h"
#include "queries/query_assembly.h"
#include "tests/support/analysed_file.h"
#include "tests/support/cli_runner.h"
#include "tests/support/corpus.h"
#include "tests/support/corpus_queries.h"

namespace {

using nlohmann::json;

// Two of them as Access shows them.
const std::map<std::string, std::string> kAccessSql = {
    {"SelectQuery",
     "SELECT DISTINCT Table1.*, Table2.col1, Table2.col2, Table3.col3\r\nFROM (Table1 LEFT JOIN Table3 ON Table1.col1 "
     "= "
     "Table3.col1) INNER JOIN Table2 ON (Table3.col1 = Table2.col2) AND (Table3.col1 = Table2.col1)\r\nWHERE "
     "(((Table2.col2)=\"foo\" Or (Table2.col2) In (\"buzz\",\"bazz\")))\r\nORDER BY Table2.col1;"},
    {"AppendQuery",
     "INSERT INTO Table3 (col2, col2, col3)\r\nSELECT [Table1].[col2], [Table2].[col2], [Table2].[col3]\r\nFROM "
     "Table3, Table1 INNER JOIN Table2 ON [Table1].[col1]=[Table2].[col1];"},
};

// The statement as a list of tokens: line breaks and blanks are layout, brackets around plain
// names are dropped, and words compare without regard to case (strings keep theirs).
std::vector<std::string> Tokens(const std::string& sql) {
  const std::string plain = std::regex_replace(sql, std::regex(R"(\[([A-Za-z0-9_]+)\])"), "$1");
  static const std::regex kToken(R"("[^"]*"|[A-Za-z0-9_.*]+|\S)");
  std::vector<std::string> tokens;
  for (std::sregex_iterator it(plain.begin(), plain.end(), kToken), end; it != end; ++it) {
    std::string token = it->str();
    if (token[0] != '"')
      for (char& c : token) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    tokens.push_back(token);
  }
  return tokens;
}

std::string TextOrEmpty(const json& value) {
  return value.is_string() ? value.get<std::string>() : "";
}

TEST(QueryCorpus, RebuiltTextsAreThoseAccessHolds) {
  for (const auto& [name, access] : kAccessSql)
    EXPECT_EQ(Tokens(testsupport::kCorpusQuerySql.at(name)), Tokens(access)) << name;
}

TEST(QueryCorpus, RowsOfEveryQueryAssembleToItsSql) {
  SKIP_WITHOUT_CORPUS();
  const auto files = testsupport::QueryTestFiles();
  ASSERT_EQ(files.size(), 2u);
  for (const auto& path : files) {
    const json expected = testsupport::ExpectedJson(path);
    ASSERT_TRUE(expected.contains("msysQueries")) << path;
    std::map<std::string, std::string> rebuilt;
    for (const auto& query : expected["msysQueries"]) {
      std::vector<queries::QueryRow> rows;
      for (const auto& stored : query["rows"]) {
        queries::QueryRow row;
        row.attribute = stored["Attribute"].is_number() ? stored["Attribute"].get<int>() : -1;
        row.flag = stored["Flag"].is_number() ? stored["Flag"].get<int>() : -1;
        row.name1 = TextOrEmpty(stored["Name1"]);
        row.name2 = TextOrEmpty(stored["Name2"]);
        row.expression = TextOrEmpty(stored["Expression"]);
        rows.push_back(row);
      }
      rebuilt[query["name"].get<std::string>()] = queries::AssembleQuerySql(rows);
    }
    EXPECT_EQ(rebuilt, testsupport::kCorpusQuerySql) << path;
  }
}

// The catalog copy into the temporary database takes the typed values: every saved query is
// found and rebuilt, and no OLE object is written to a file on the way.
TEST(QueryCorpus, AnalysisRebuildsEveryQueryWithoutObjectFiles) {
  SKIP_WITHOUT_CORPUS();
  for (const auto& path : testsupport::QueryTestFiles()) {
    const json expected = testsupport::ExpectedJson(path);
    testsupport::AnalysedFile analysed;
    const auto outcome = analysed.analyse(path);
    ASSERT_TRUE(outcome.ok) << path;
    std::map<std::string, std::string> found;
    for (const auto& query : analysis::g_queries)
      if (!query->name.empty()) found[query->name] = query->sqlText;
    EXPECT_EQ(found.size(), expected["msysQueries"].size()) << path;
    for (const auto& [name, sql] : testsupport::kCorpusQuerySql) {
      ASSERT_EQ(found.count(name), 1u) << path << " " << name;
      EXPECT_EQ(Tokens(found[name]), Tokens(sql)) << path << " " << name;
    }
    EXPECT_EQ(analysed.recovery().oleFileCount, 0) << path;
  }
}

// Every query object of every file, the record sources of forms and reports among them, is
// listed by its name with a rebuilt statement: the saved ones under "queries", the "~sq_" ones
// under "hiddenQueries". The names are those the peer reader finds in the query catalog.
TEST(QueryCorpus, EveryQueryObjectIsListedWithItsNameAndSql) {
  SKIP_WITHOUT_CORPUS();
  for (const auto& path : testsupport::CorpusDatabases()) {
    SCOPED_TRACE(path);
    const auto result = testsupport::RunCli({"analyze", path, "--json"});
    ASSERT_EQ(result.exitCode, 0);
    const json out = json::parse(result.out);
    std::multiset<std::string> listed;
    for (const char* key : {"queries", "hiddenQueries"}) {
      ASSERT_TRUE(out.contains(key)) << key;
      for (const auto& query : out[key]) {
        const std::string name = query["name"].get<std::string>();
        EXPECT_FALSE(name.empty()) << key;
        EXPECT_FALSE(query["sql"].get<std::string>().empty()) << name;
        EXPECT_EQ(name.rfind("~sq_", 0) == 0, std::string(key) == "hiddenQueries") << name;
        listed.insert(name);
      }
    }
    std::multiset<std::string> expected;
    const json peer = testsupport::ExpectedJson(path);
    if (peer.contains("msysQueries"))
      for (const auto& query : peer["msysQueries"]) expected.insert(query["name"].get<std::string>());
    EXPECT_EQ(listed, expected);
  }
}

}  // namespace
