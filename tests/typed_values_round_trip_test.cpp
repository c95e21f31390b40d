// The values that a text detour used to change, in a database built in code, through the CLI's
// CSV export (read back by an RFC 4180 reader) and its records --json: a negative double of 15
// significant digits, a tiny negative single, a text "NULL", a text holding the old field
// separator, a text with quote, apostrophe, backslash and line break, an empty text, an empty
// binary value, and nulls. Every one comes back as stored.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

#include "cli/value_json.h"
#include "platform/file_system.h"
#include "tests/support/cli_runner.h"
#include "tests/support/corpus.h"
#include "tests/support/csv_reader.h"
#include "tests/support/definition_builder.h"
#include "tests/support/page_builder.h"
#include "tests/support/peer_cells.h"

namespace {

using namespace testsupport;
using nlohmann::json;

constexpr uint32_t kTdefPage = 6;

// One stored record; a missing value is null.
struct Stored {
  int id;
  const double* real;
  const float* single;
  const char* text;
  const std::vector<uint8_t>* binary;
};

const double kNegative15 = -1.23456789012345;
const float kTinyNegative = -1.2e-5f;
const std::vector<uint8_t> kEmptyBinary;
const std::vector<uint8_t> kSomeBinary = {0x00, 0xFF, 0x2C};
const std::string kSeparatorText = std::string("a@##@#$~##%b");
const std::string kAwkwardText = "say \"hi\", it's C:\\temp\r\nnext line ";

const std::vector<Stored>& storedRecords() {
  static const std::vector<Stored> records = {
      {1, &kNegative15, &kTinyNegative, "NULL", &kEmptyBinary},
      {2, nullptr, nullptr, kSeparatorText.c_str(), &kSomeBinary},
      {3, &kNegative15, nullptr, kAwkwardText.c_str(), nullptr},
      {4, nullptr, &kTinyNegative, "", nullptr},
      {5, nullptr, nullptr, nullptr, nullptr},
  };
  return records;
}

// Table "values": id LONG, real DOUBLE, single SINGLE (fixed), text TEXT, binary BINARY (variable).
std::string buildDatabase(const TempFolder& folder) {
  ColumnSpec id = Col(4, 0, "id", 4), real = Col(7, 1, "real", 8), single = Col(6, 2, "single", 4);
  id.fixed = real.fixed = single.fixed = true;
  real.fixedOffset = 4;
  single.fixedOffset = 12;
  ColumnSpec text = Col(10, 3, "text", 255), binary = Col(9, 4, "binary", 255);
  binary.variableIndex = 1;
  FileBuilder file = FileBuilder::Jet4Start(kTdefPage);
  file.appendPage(DefinitionBuilder().rows(5).column(id).column(real).column(single).column(text).column(binary).pages(
      {kTdefPage})[0]);
  PageBuilder page = PageBuilder::DataPage(kTdefPage);
  for (const Stored& record : storedRecords()) {
    RowBuilder row(5, 16);
    row.fixed(0, 0, Le32(static_cast<uint32_t>(record.id)));
    if (record.real) row.fixed(1, 4, DoubleBytes(*record.real));
    if (record.single) row.fixed(2, 12, FloatBytes(*record.single));
    row.variable(3, record.text ? Utf16(record.text) : std::vector<uint8_t>{}, record.text != nullptr);
    row.variable(4, record.binary ? *record.binary : std::vector<uint8_t>{}, record.binary != nullptr);
    page.addRow(row.bytes());
  }
  file.appendPage(page.page());
  const std::string path = folder.file("values.mdb");
  file.write(path);
  return path;
}

std::string tableName(const std::string& path) {
  const json tables = json::parse(RunCli({"analyze", path, "--json"}).out)["tables"];
  for (const auto& table : tables)
    if (table.value("tdefPage", 0u) == kTdefPage) return table["name"];
  return "";
}

bool sameDouble(const std::string& text, double expected) {
  const double read = std::strtod(text.c_str(), nullptr);
  return std::memcmp(&read, &expected, sizeof read) == 0;
}

std::string hexOf(const std::vector<uint8_t>& bytes) {
  return HexOf(bytes, bytes.size());
}

TEST(TypedValuesRoundTripTest, CsvGivesBackEveryValue) {
  TempFolder folder, destination;
  const std::string path = buildDatabase(folder);
  const std::string name = tableName(path);
  ASSERT_FALSE(name.empty());
  const auto result = RunCli({"export", path, "--to", destination.path(), "--csv", "--table", name});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  const std::vector<std::string> folders = platform::ListFolder(destination.path());
  ASSERT_EQ(folders.size(), 1u);
  const std::string csvFolder = platform::JoinPath(platform::JoinPath(destination.path(), folders[0]), "Tables");
  const std::vector<std::string> files = platform::ListFolder(csvFolder);
  ASSERT_EQ(files.size(), 1u);
  const CsvParse parse = ReadCsvFile(platform::JoinPath(csvFolder, files[0]));
  ASSERT_TRUE(parse.ok);
  const std::string python = PythonCsvDifference(platform::JoinPath(csvFolder, files[0]), parse);
  if (python == "no python3")
    std::printf("[ csv ] python3 not found: the file is checked with our RFC 4180 reader only\n");
  else
    EXPECT_EQ(python, "");
  ASSERT_EQ(parse.records.size(), storedRecords().size() + 1);
  EXPECT_EQ(parse.records[0], (CsvRecord{{"id"}, {"real"}, {"single"}, {"text"}, {"binary"}}));
  const CsvCell null;
  for (size_t r = 0; r < storedRecords().size(); ++r) {
    const Stored& stored = storedRecords()[r];
    const CsvRecord& record = parse.records[r + 1];
    ASSERT_EQ(record.size(), 5u) << r;
    EXPECT_EQ(record[0].text, std::to_string(stored.id));
    if (stored.real)
      EXPECT_TRUE(sameDouble(record[1].text, *stored.real)) << record[1].text;
    else
      EXPECT_EQ(record[1], null) << r;
    if (stored.single)
      EXPECT_EQ(std::strtof(record[2].text.c_str(), nullptr), *stored.single) << record[2].text;
    else
      EXPECT_EQ(record[2], null) << r;
    const CsvCell text = stored.text ? CsvCell{stored.text, record[3].quoted} : null;
    EXPECT_EQ(record[3], text) << r;
    if (stored.text && *stored.text == '\0') {
      EXPECT_TRUE(record[3].quoted) << "an empty text is \"\"";
    }
    if (stored.binary) {
      EXPECT_EQ(record[4].text, hexOf(*stored.binary)) << r;
      EXPECT_TRUE(!stored.binary->empty() || record[4].quoted) << "an empty binary value is \"\"";
    } else {
      EXPECT_EQ(record[4], null) << r;
    }
  }
}

TEST(TypedValuesRoundTripTest, JsonGivesBackEveryValue) {
  TempFolder folder;
  const std::string path = buildDatabase(folder);
  const std::string name = tableName(path);
  ASSERT_FALSE(name.empty());
  const std::string objects = folder.file("objects");
  const auto result = RunCli({"records", path, name, "--json", "--objects", objects});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  const json rows = json::parse(result.out)["pages"][0]["rows"];
  ASSERT_EQ(rows.size(), storedRecords().size());
  for (size_t r = 0; r < storedRecords().size(); ++r) {
    const Stored& stored = storedRecords()[r];
    const json& row = rows[r];
    EXPECT_EQ(row[0], std::to_string(stored.id));
    if (stored.real)
      EXPECT_TRUE(sameDouble(row[1].get<std::string>(), *stored.real)) << row[1];
    else
      EXPECT_TRUE(row[1].is_null()) << r;
    if (stored.single)
      EXPECT_EQ(std::strtof(row[2].get<std::string>().c_str(), nullptr), *stored.single) << row[2];
    else
      EXPECT_TRUE(row[2].is_null()) << r;
    EXPECT_EQ(row[3], stored.text ? json(stored.text) : json()) << r;
    if (stored.binary) {
      EXPECT_EQ(row[4]["bytes"], stored.binary->size()) << r;
      EXPECT_EQ(row[4]["sha256"], cli::Sha256Hex(*stored.binary)) << r;
      EXPECT_EQ(ReadWholeFile(row[4]["file"]), *stored.binary) << r;
    } else {
      EXPECT_TRUE(row[4].is_null()) << r;
    }
  }
}

}  // namespace
