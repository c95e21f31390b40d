// Encrypted and password-protected files of the corpus: each opens with its password and reads
// as the peer reader reads it; without a password or with a wrong one the analysis stops with
// its own message (logged, exit status 1) and the password shows up nowhere. A damaged
// encrypted file loses only the rows of its damaged page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "tests/support/analysis_harness.h"
#include "tests/support/cli_runner.h"
#include "tests/support/corpus.h"
#include "tests/support/encrypted_copy.h"
#include "tests/support/log_capture.h"
#include "tests/support/recovery_run.h"

namespace {

using nlohmann::json;
using testsupport::RunCli;

constexpr const char* kEncrypted = "This file is encrypted. Enter its password to open it.";
constexpr const char* kWrong = "The password is not correct.";

struct EncryptedFile {
  const char* name;
  const char* password;
  bool needsPassword;
};
const EncryptedFile kFiles[] = {
    {"office-agile-4.4.accdb", "password", true},
    {"db2007-rc4cryptoapi.accdb", "Test123", true},
    {"V2000_with-password.mdb", "password", false},
};

std::string encryptedPath(const char* name) {
  return testsupport::CorpusFile(std::string("encrypted/") + name);
}

#define SKIP_WITHOUT_ENCRYPTED_FILES()                                                                 \
  do {                                                                                                 \
    if (encryptedPath("office-agile-4.4.accdb").empty())                                               \
      GTEST_SKIP() << "../shared/corpus/encrypted not found (or $TESSALY_CORPUS without it): skipped"; \
  } while (0)

// The peer's user tables and rows; db2007-rc4cryptoapi has no peer dump (the peer cannot
// decrypt it), its one row is the one its source's own tests assert.
json expectedTables(const EncryptedFile& file) {
  if (std::string(file.name) == "db2007-rc4cryptoapi.accdb")
    return json::array({{{"name", "Table1"}, {"rows", json::array({json::array({"1", "foo"})})}}});
  const std::string path = testsupport::CorpusDir() + "/encrypted/expected/" + file.name + ".json";
  const json expected = json::parse(testsupport::ReadWholeFile(path), nullptr, false);
  return expected.is_discarded() ? json() : expected["tables"];
}

// The hidden table of an ACE complex column's values ("f_" + 32 hex digits + "_" + column); the
// peer does not list these among the user tables.
bool isComplexValueTable(const std::string& name) {
  if (name.size() < 36 || name.rfind("f_", 0) != 0 || name[34] != '_') return false;
  return name.find_first_not_of("0123456789ABCDEF", 2) == 34;
}

std::string writePassword(const testsupport::TempFolder& folder, const std::string& text) {
  const std::string path = folder.file("password.txt");
  testsupport::WriteWholeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
  return path;
}

TEST(EncryptedFilesTest, EveryFileReadsAsThePeerReadsItWithItsPassword) {
  SKIP_WITHOUT_ENCRYPTED_FILES();
  testsupport::TempFolder folder;
  for (const auto& file : kFiles) {
    SCOPED_TRACE(file.name);
    // echo writes a line end after the password; it is not part of it.
    const std::string passwordFile = writePassword(folder, std::string(file.password) + "\n");
    const json tables = expectedTables(file);
    ASSERT_TRUE(tables.is_array());
    auto analyzed = RunCli({"analyze", encryptedPath(file.name), "--json", "--password-file", passwordFile});
    ASSERT_EQ(analyzed.exitCode, 0);
    if (std::string(file.name).find(file.password) == std::string::npos) {
      EXPECT_EQ(analyzed.out.find(file.password), std::string::npos);
    }
    const json analysis = json::parse(analyzed.out);
    EXPECT_TRUE(analysis["messages"].empty());
    EXPECT_EQ(analysis["pagesRead"], analysis["pagesTotal"]);
    std::vector<std::string> userTables;
    for (const auto& table : analysis["tables"])
      if (table["name"].get<std::string>().rfind("ASys", 0) != 0 && !isComplexValueTable(table["name"]))
        userTables.push_back(table["name"]);
    ASSERT_EQ(userTables.size(), tables.size());
    for (const auto& table : tables) {
      auto records = RunCli(
          {"records", encryptedPath(file.name), table["name"], "--all", "--json", "--password-file", passwordFile});
      ASSERT_EQ(records.exitCode, 0) << table["name"];
      json rows = json::array();
      const json screens = json::parse(records.out);
      for (const auto& page : screens["pages"])
        for (const auto& row : page["rows"]) rows.push_back(row);
      EXPECT_EQ(rows, table["rows"]) << table["name"];
    }
  }
}

TEST(EncryptedFilesTest, WithoutOrWithAWrongPasswordTheAnalysisStopsWithItsMessage) {
  SKIP_WITHOUT_ENCRYPTED_FILES();
  testsupport::TempFolder folder;
  struct Case {
    const char* how;
    std::string fileContent;  // --password-file content, or no option when empty
    const char* environment;  // TESSALY_PASSWORD, or unset when null
    const char* message;
  };
  const Case cases[] = {
      {"no password", "", nullptr, kEncrypted},
      {"wrong password file", "Password\n", nullptr, kWrong},
      {"two line ends: the first belongs to the password", "password\n\n", nullptr, kWrong},
      {"wrong TESSALY_PASSWORD", "", "passwort", kWrong},
      {"empty TESSALY_PASSWORD", "", "", kWrong},
  };
  for (const auto& file : kFiles) {
    if (!file.needsPassword) continue;
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(file.name) + ", " + c.how);
      std::vector<std::string> args = {"analyze", encryptedPath(file.name), "--json"};
      if (!c.fileContent.empty()) args.insert(args.end(), {"--password-file", writePassword(folder, c.fileContent)});
      if (c.environment) ::setenv("TESSALY_PASSWORD", c.environment, 1);
      const auto result = RunCli(args);
      ::unsetenv("TESSALY_PASSWORD");
      EXPECT_EQ(result.exitCode, 1);
      const json out = json::parse(result.out);
      EXPECT_FALSE(out["ok"].get<bool>());
      EXPECT_EQ(out["messages"], json::array({c.message}));
      for (const char* secret : {"Password", "passwort"}) EXPECT_EQ(result.out.find(secret), std::string::npos);
      // The records and export commands stop the same way.
      EXPECT_EQ(RunCli({"records", encryptedPath(file.name), "Table1"}).exitCode, 1);
    }
  }
}

TEST(EncryptedFilesTest, TheRightPasswordFromTheEnvironmentOpensAndAPlainFileIgnoresOne) {
  SKIP_WITHOUT_ENCRYPTED_FILES();
  ::setenv("TESSALY_PASSWORD", "Test123", 1);
  const auto opened = RunCli({"analyze", encryptedPath("db2007-rc4cryptoapi.accdb")});
  const auto plain = RunCli({"analyze", encryptedPath("V2000_with-password.mdb")});
  ::unsetenv("TESSALY_PASSWORD");
  EXPECT_EQ(opened.exitCode, 0);
  EXPECT_EQ(plain.exitCode, 0);
  EXPECT_EQ(RunCli({"analyze", encryptedPath("V2000_with-password.mdb")}).exitCode, 0);
  testsupport::TempFolder folder;
  EXPECT_EQ(RunCli({"analyze", "--password-file", folder.file("missing.txt"), encryptedPath("V2000_with-password.mdb")})
                .exitCode,
            2);
  EXPECT_EQ(RunCli({"analyze", encryptedPath("V2000_with-password.mdb"), "--password-file"}).exitCode, 2);
}

// The viewer's dialog asks again after a wrong password; both outcomes are logged, never the password.
TEST(EncryptedFilesTest, ARetryAfterAWrongPasswordOpensAndTheLogsNeverHoldIt) {
  SKIP_WITHOUT_ENCRYPTED_FILES();
  struct Case {
    std::vector<std::optional<std::string>> answers;
    bool ok;
    std::vector<std::string> logged;
  };
  const Case cases[] = {
      {{std::nullopt}, false, {kEncrypted}},
      {{"secret-guess", std::nullopt}, false, {kWrong}},
      {{"secret-guess", "password"}, true, {kWrong}},
      {{"password"}, true, {}},
  };
  for (const auto& c : cases) {
    testsupport::LogCapture logs;
    analysis::MdbRecovery recovery;
    std::vector<bool> askedAfterWrong;
    recovery.passwordSource = [&](bool afterWrong) {
      askedAfterWrong.push_back(afterWrong);
      return c.answers[std::min(askedAfterWrong.size(), c.answers.size()) - 1];
    };
    const auto outcome = testsupport::RunAnalysis(recovery, encryptedPath("office-agile-4.4.accdb"));
    EXPECT_EQ(outcome.ok, c.ok);
    EXPECT_EQ(askedAfterWrong.size(), c.answers.size());
    for (size_t i = 0; i < askedAfterWrong.size(); ++i) EXPECT_EQ(askedAfterWrong[i], i > 0);
    EXPECT_EQ(logs.errorMessages(), c.logged);
    EXPECT_EQ(logs.errorLog().find("secret-guess"), std::string::npos);
    EXPECT_EQ(outcome.messages, c.ok ? std::vector<std::string>{} : std::vector<std::string>{c.logged.back()});
  }
}

// A zeroed data page of an encrypted file costs exactly what it costs the plain file: the rows
// on that page, none else.
TEST(EncryptedFilesTest, AZeroedDataPageOfAnEncryptedFileLosesOnlyItsRows) {
  SKIP_WITHOUT_CORPUS();
  const std::string path = testsupport::CorpusFile("jet4/compIndexTestV2003.mdb");
  ASSERT_FALSE(path.empty());
  const std::vector<uint8_t> intactBytes = testsupport::ReadWholeFile(path);
  testsupport::TempFolder folder;
  const auto intact = testsupport::RunWholeRecovery(path, folder.file("work"), true);
  ASSERT_GT(intact.recordCount, 0);
  auto zeroPage = [](std::vector<uint8_t> bytes, size_t page) {
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(page * 4096),
              bytes.begin() + static_cast<std::ptrdiff_t>((page + 1) * 4096), 0);
    return bytes;
  };
  // The first data page with live rows of a user table: its loss shows in the plain file.
  testsupport::RecoveryRun plainRun;
  size_t zeroed = 0;
  for (size_t page = 6; page * 4096 < intactBytes.size() && zeroed == 0; ++page) {
    if (intactBytes[page * 4096] != 1 || intactBytes[page * 4096 + 12] == 0) continue;
    testsupport::WriteWholeFile(folder.file("plain.mdb"), zeroPage(intactBytes, page));
    plainRun = testsupport::RunWholeRecovery(folder.file("plain.mdb"), folder.file("work"), true);
    if (plainRun.analyzed && plainRun.recordCount < intact.recordCount) zeroed = page;
  }
  ASSERT_NE(zeroed, 0u);
  const auto encrypted = zeroPage(testsupport::JetRc4Encrypted(intactBytes, 0x5EED1234), zeroed);
  testsupport::WriteWholeFile(folder.file("encrypted.mdb"), encrypted);
  const auto encryptedRun = testsupport::RunWholeRecovery(folder.file("encrypted.mdb"), folder.file("work"), true);
  ASSERT_TRUE(encryptedRun.analyzed);
  EXPECT_TRUE(encryptedRun.messages.empty());
  EXPECT_EQ(encryptedRun.records, plainRun.records);
  EXPECT_EQ(testsupport::CountRecovered(intact, encryptedRun).recovered, plainRun.recordCount);
  EXPECT_TRUE(encryptedRun.csvExportSucceeded);
  EXPECT_TRUE(encryptedRun.accessExportSucceeded);
}

}  // namespace
