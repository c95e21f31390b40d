// Files our Jet 4 writer makes, read back by independent Access readers: mdbtools and
// mdb-reader must list the same tables and return the values we wrote, for a column of every
// type, NULLs, empty and non-Latin texts, the longest TEXT, large memos and OLE objects,
// a million rows, and a catalog of many tables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "jet4/jet4_engine.h"
#include "support/value_builders.h"
#include "tests/support/corpus.h"
#include "tests/support/hex.h"
#include "tests/support/peer_readers.h"

namespace {

using testsupport::PeerRow;
using testsupport::TempFolder;

// How a column's value is compared across readers.
enum class Kind { kInteger, kBool, kDecimal, kSingle, kDouble, kDate, kHex, kText, kGuid };

struct ColumnSpec {
  const char* name;
  const char* type;  // as the CREATE TABLE statement gives it
  Kind kind;
  const char* peerType;  // mdb-reader's name for the column type
};

const std::vector<ColumnSpec> kAllTypes = {
    {"ID", "COUNTER", Kind::kInteger, "long"},
    {"Flag", "BIT", Kind::kBool, "boolean"},
    {"Small", "BYTE", Kind::kInteger, "byte"},
    {"Count", "INT", Kind::kInteger, "integer"},
    {"Total", "LONG", Kind::kInteger, "long"},
    {"Price", "CURRENCY", Kind::kDecimal, "currency"},
    {"Ratio", "SINGLE", Kind::kSingle, "float"},
    {"Measure", "DOUBLE", Kind::kDouble, "double"},
    {"Stamp", "DATE", Kind::kDate, "datetime"},
    {"Raw", "BINARY", Kind::kHex, "binary"},
    {"Label", "TEXT(255)", Kind::kText, "text"},
    {"Notes", "MEMO", Kind::kText, "memo"},
    {"Picture", "OLEOBJECT", Kind::kHex, "ole"},
    {"Key", "GUID", Kind::kGuid, "repid"},
    {"Amount", "NUMERIC(18,2)", Kind::kDecimal, "numeric"},
};

using TextRow = std::vector<std::optional<std::string>>;  // nullopt: the field is not set

std::string statementFor(const std::string& table, const std::vector<ColumnSpec>& columns) {
  std::string statement = "CREATE TABLE [" + table + "] \r\n(";
  for (size_t i = 0; i < columns.size(); ++i)
    statement += std::string(i ? ", " : "") + "\r\n\t[" + columns[i].name + "] " + columns[i].type;
  return statement + "\r\n);";
}

std::string bytesOf(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + seed * 7 + (i >> 8)) & 0xFF);
  bytes[0] = static_cast<char>(0x5A);  // mdbtools takes a value that starts with a zero byte as NULL
  return bytes;
}

std::string repeat(const std::string& piece, size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i) out += piece;
  return out;
}

// The rows of the all-types table, as the record decoder would hand them over.
std::vector<TextRow> allTypesRows() {
  const std::string latinMax(255, 'x');
  std::string nonLatinMax;
  for (int i = 0; i < 255; ++i) nonLatinMax += "\xD0\x96";  // Ж, two bytes each in UTF-16
  return {
      {"1", "1", "7", "1234", "123456", "12.3456", "0.500000", "1234.56789", "03/07/2026 14:05:09", "0a0b0c", "Shop",
       "A short memo", std::string("\x01\x02\x03", 3), "{12345678-9ABC-DEF0-1234-56789ABCDEF0}", "0000000000000000.42"},
      {"2", {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}},
      {"3", "0", "255", "-32768", "-2147483648", "-922337203685477.5808", "-1.5", "-1e-300", "12/30/1899 00:00:00",
       "ff", "", "", "", "{00000000-0000-0000-0000-000000000000}", "-0000000000000012.34"},
      {"4", "1", "-1", "65535", "2147483647", "922337203685477.5807", "3.4e38", "1.5e308", "12/31/9999 23:59:59",
       repeat("7f", 510), "Ελληνικά Москва 東京 😀 ümlaut", repeat("Grüße, Мир! ", 400), bytesOf(5000, 1),
       "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}", "9999999999999999.99"},
      {"5", "0", "0", "0", "0", "0", "0", "0", "01/01/1900 00:00:01", "5a", latinMax, std::string(100 * 1024, 'm'),
       bytesOf(70000, 2), "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}", "0.00"},
      {"6", "1", "1", "1", "1", "0.0001", "1e-20", "3.141592653589793", "02/29/2000 12:00:00", "01", nonLatinMax,
       repeat("\xE6\x9D\xB1\xE4\xBA\xAC", 30000), bytesOf(40, 3), "{A0A1A2A3-B0B1-C0C1-D0D1-E0E1E2E3E4E5}", "-0.01"},
      {"7", {}, {}, {}, {}, {}, {}, {}, "10/15/1582 00:00:00", {}, {}, {}, {}, {}, {}},
  };
}

void writeRows(engine::EngineDatabase& db, const std::string& table, const std::vector<ColumnSpec>& columns,
               const std::vector<TextRow>& rows) {
  auto rs = db.NewRecordset();
  rs->Open("select * from [" + table + "] where 1=-1");
  for (const TextRow& row : rows) {
    rs->AddNew();
    for (size_t i = 0; i < columns.size(); ++i)
      if (row[i]) rs->SetFieldValue(columns[i].name, support::TextValue(*row[i]));
    rs->Update();
  }
  rs->Close();
}

// --- the forms values are compared in ---------------------------------------------------

std::string plainDecimal(std::string s) {
  bool negative = !s.empty() && s[0] == '-';
  if (negative || (!s.empty() && s[0] == '+')) s.erase(0, 1);
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  while (s.size() > 1 && s[0] == '0' && s[1] != '.') s.erase(0, 1);
  if (s.empty() || s[0] == '.') s.insert(0, "0");
  if (s == "0") negative = false;
  return (negative ? "-" : "") + s;
}

std::string dateText(const std::string& display) {
  // "MM/DD/YYYY HH:MM:SS" to "YYYY-MM-DD HH:MM:SS".
  return display.substr(6, 4) + "-" + display.substr(0, 2) + "-" + display.substr(3, 2) + " " + display.substr(11);
}

std::string guidDigits(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (std::isxdigit(static_cast<unsigned char>(c))) digits += static_cast<char>(std::toupper(c));
  return digits;
}

// Our value text in the compared form; a field never set reads as NULL, a BIT as false.
std::optional<std::string> expectedForm(const ColumnSpec& column, const std::optional<std::string>& value) {
  if (!value) return column.kind == Kind::kBool ? std::optional<std::string>("0") : std::nullopt;
  const std::string& v = *value;
  switch (column.kind) {
    case Kind::kInteger: {
      long long n = std::stoll(v);
      if (std::string(column.type) == "BYTE") n &= 0xFF;
      if (std::string(column.type) == "INT") n = static_cast<int16_t>(n & 0xFFFF);
      return std::to_string(n);
    }
    case Kind::kBool: return v == "1" ? "1" : "0";
    case Kind::kDecimal: return plainDecimal(v);
    case Kind::kSingle: return v;
    case Kind::kDouble: return v;
    case Kind::kDate: return dateText(v);
    case Kind::kHex: return std::string(column.type) == "OLEOBJECT" ? testsupport::HexOf(v) : v;
    case Kind::kText: return v;
    case Kind::kGuid: return guidDigits(v);
  }
  return v;
}

// A reader's cell in the compared form.
std::optional<std::string> peerForm(const ColumnSpec& column, std::optional<std::string> cell) {
  if (!cell) return cell;
  switch (column.kind) {
    case Kind::kDecimal:
    case Kind::kInteger: return plainDecimal(*cell);
    case Kind::kHex: {
      std::string lower = *cell;
      for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      return lower;
    }
    case Kind::kGuid: return guidDigits(*cell);
    default: return cell;
  }
}

void expectSameValue(const ColumnSpec& column, const std::optional<std::string>& expected,
                     const std::optional<std::string>& actual, const std::string& where) {
  ASSERT_EQ(expected.has_value(), actual.has_value())
      << where << " " << column.name << ": " << (expected ? expected->substr(0, 40) : actual->substr(0, 40));
  if (!expected) return;
  if (column.kind == Kind::kSingle) {
    EXPECT_EQ(std::strtof(expected->c_str(), nullptr), std::strtof(actual->c_str(), nullptr))
        << where << " " << column.name;
  } else if (column.kind == Kind::kDouble) {
    const double want = std::strtod(expected->c_str(), nullptr), got = std::strtod(actual->c_str(), nullptr);
    EXPECT_NEAR(got, want, std::abs(want) * 1e-15) << where << " " << column.name << ": " << *actual;
  } else if (*expected != *actual) {
    // Long values are described, not printed.
    size_t at = 0;
    while (at < expected->size() && at < actual->size() && (*expected)[at] == (*actual)[at]) ++at;
    ADD_FAILURE() << where << " " << column.name << ": expected " << expected->size() << " bytes, got "
                  << actual->size() << ", first difference at " << at << ": \"" << expected->substr(at, 24)
                  << "\" vs \"" << actual->substr(at, 24) << "\"";
  }
}

std::string withoutSupplementaryCharacters(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xF8) == 0xF0) {
      out += "??";
      i += 3;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

class Jet4PeerReadersTest : public ::testing::Test {
 protected:
  std::string writeAllTypes() {
    const std::string path = folder_.file("Recovered_AllTypes.accdb");
    auto db = jet4::MakeJet4Database();
    db->Create(path, engine::kEngineLocale, 0);
    EXPECT_THROW(db->Execute("CREATE TABLE [Broken] \r\n(\r\n\t[X] UNKNOWN-DATATYPE = 0x12\r\n);"),
                 engine::EngineError);
    db->Execute(statementFor("AllTypes", kAllTypes));
    writeRows(*db, "AllTypes", kAllTypes, allTypesRows());
    db->Execute("CREATE TABLE [Empty Table] \r\n(\r\n\t[A] LONG, \r\n\t[B] TEXT(10)\r\n);");
    db->Close();
    return path;
  }
  TempFolder folder_;
};

TEST_F(Jet4PeerReadersTest, MdbToolsReadsEveryTypeAsWritten) {
  SKIP_WITHOUT_MDBTOOLS();
  const std::string path = writeAllTypes();
  EXPECT_EQ(testsupport::MdbToolsTables(path), (std::vector<std::string>{"AllTypes", "Empty Table"}));
  const std::vector<PeerRow> rows = testsupport::MdbToolsExport(path, "AllTypes");
  const auto written = allTypesRows();
  ASSERT_EQ(rows.size(), written.size() + 1);
  for (size_t c = 0; c < kAllTypes.size(); ++c) EXPECT_EQ(rows[0][c], std::string(kAllTypes[c].name));
  for (size_t r = 0; r < written.size(); ++r) {
    ASSERT_EQ(rows[r + 1].size(), kAllTypes.size()) << r;
    for (size_t c = 0; c < kAllTypes.size(); ++c) {
      const ColumnSpec& column = kAllTypes[c];
      std::optional<std::string> expected = expectedForm(column, written[r][c]);
      std::optional<std::string> cell = rows[r + 1][c];
      // mdbtools' own forms: an empty text is NULL, a character outside the Basic Multilingual
      // Plane prints as "??", a GUID comes as the hex of its text; it prints no date outside
      // the years 1900 to 9998.
      if (column.kind == Kind::kText && expected && expected->empty()) expected.reset();
      if (column.kind == Kind::kText && expected) expected = withoutSupplementaryCharacters(*expected);
      if (column.kind == Kind::kDate && expected && (*expected < "1900" || *expected >= "9999")) continue;
      if (column.kind == Kind::kGuid && cell) {
        std::string text;
        for (size_t i = 0; i + 1 < cell->size(); i += 2)
          text += static_cast<char>(std::stoi(cell->substr(i, 2), nullptr, 16));
        cell = text;
      }
      expectSameValue(column, expected, peerForm(column, cell), "mdbtools row " + std::to_string(r));
    }
  }
  const std::vector<PeerRow> empty = testsupport::MdbToolsExport(path, "Empty Table");
  ASSERT_EQ(empty.size(), 1u);
}

TEST_F(Jet4PeerReadersTest, MdbReaderReadsEveryTypeAsWritten) {
  SKIP_WITHOUT_MDB_READER();
  const std::string path = writeAllTypes();
  const nlohmann::json dump = testsupport::MdbReaderDump(path);
  ASSERT_TRUE(dump.is_object());
  ASSERT_EQ(dump["tables"].size(), 2u);
  EXPECT_EQ(dump["tables"][0]["name"], "AllTypes");
  EXPECT_EQ(dump["tables"][1]["name"], "Empty Table");
  EXPECT_TRUE(dump["tables"][1]["rows"].empty());
  const nlohmann::json& table = dump["tables"][0];
  ASSERT_EQ(table["columns"].size(), kAllTypes.size());
  for (size_t c = 0; c < kAllTypes.size(); ++c) {
    EXPECT_EQ(table["columns"][c]["name"], kAllTypes[c].name);
    EXPECT_EQ(table["columns"][c]["type"], kAllTypes[c].peerType) << kAllTypes[c].name;
  }
  const auto written = allTypesRows();
  ASSERT_EQ(table["rows"].size(), written.size());
  for (size_t r = 0; r < written.size(); ++r) {
    for (size_t c = 0; c < kAllTypes.size(); ++c) {
      const nlohmann::json& cell = table["rows"][r][c];
      const std::optional<std::string> actual =
          cell.is_null() ? std::nullopt : std::optional<std::string>(cell.get<std::string>());
      expectSameValue(kAllTypes[c], expectedForm(kAllTypes[c], written[r][c]), peerForm(kAllTypes[c], actual),
                      "mdb-reader row " + std::to_string(r));
    }
  }
}

// A million rows: both readers return every row with its values.
class Jet4MillionRowsTest : public ::testing::Test {
 protected:
  static constexpr int kRows = 1000000;
  static constexpr int kEvery = 99991;  // mdb-reader takes half a minute for every row: it reads samples
  static void SetUpTestSuite() {
    folder_ = new TempFolder;
    path_ = folder_->file("Recovered_Big.accdb");
    auto db = jet4::MakeJet4Database();
    db->Create(path_, engine::kEngineLocale, 0);
    db->Execute(
        "CREATE TABLE [Big] \r\n(\r\n\t[ID] COUNTER, \r\n\t[N] LONG, \r\n\t[Label] TEXT(20), \r\n\t[Amount] "
        "CURRENCY\r\n);");
    auto rs = db->NewRecordset();
    rs->Open("select * from [Big] where 1=-1");
    for (int i = 0; i < kRows; ++i) {
      rs->AddNew();
      rs->SetFieldValue("N", support::TextValue(std::to_string(i * 7)));
      rs->SetFieldValue("Label", support::TextValue("row " + std::to_string(i)));
      rs->SetFieldValue("Amount", support::TextValue(std::to_string(i / 100) + "." + std::to_string(i % 100 / 10) +
                                                     std::to_string(i % 10)));
      rs->Update();
    }
    rs->Close();
    db->Close();
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  static std::vector<std::string> expectedRow(int i) {
    return {std::to_string(i + 1), std::to_string(i * 7), "row " + std::to_string(i),
            plainDecimal(std::to_string(i / 100) + "." + std::to_string(i % 100 / 10) + std::to_string(i % 10))};
  }
  static TempFolder* folder_;
  static std::string path_;
};
TempFolder* Jet4MillionRowsTest::folder_ = nullptr;
std::string Jet4MillionRowsTest::path_;

TEST_F(Jet4MillionRowsTest, MdbToolsReturnsEveryRow) {
  SKIP_WITHOUT_MDBTOOLS();
  const std::vector<PeerRow> rows = testsupport::MdbToolsExport(path_, "Big");
  ASSERT_EQ(rows.size(), static_cast<size_t>(kRows) + 1);
  for (int i = 0; i < kRows; ++i) {
    const PeerRow& row = rows[static_cast<size_t>(i) + 1];
    const auto expected = expectedRow(i);
    ASSERT_EQ(row.size(), 4u) << i;
    ASSERT_TRUE(row[0] && row[1] && row[2] && row[3]) << i;
    ASSERT_EQ(*row[0], expected[0]) << i;
    ASSERT_EQ(*row[1], expected[1]) << i;
    ASSERT_EQ(*row[2], expected[2]) << i;
    ASSERT_EQ(plainDecimal(*row[3]), expected[3]) << i;
  }
}

TEST_F(Jet4MillionRowsTest, MdbReaderReturnsEveryRow) {
  SKIP_WITHOUT_MDB_READER();
  const nlohmann::json dump = testsupport::MdbReaderDump(path_, kEvery);
  ASSERT_TRUE(dump.is_object());
  ASSERT_EQ(dump["tables"].size(), 1u);
  const nlohmann::json& table = dump["tables"][0];
  EXPECT_EQ(table["rowCount"], kRows);
  size_t listed = 100;  // the last 100 rows
  for (int start = 0; start < kRows; start += kEvery) listed += static_cast<size_t>(std::min(100, kRows - start));
  ASSERT_EQ(table["rows"].size(), listed);
  for (const nlohmann::json& row : table["rows"]) {
    const int i = row[0].get<int>();
    const auto expected = expectedRow(i);
    EXPECT_EQ(row[1], expected[0]);
    EXPECT_EQ(row[2], expected[1]);
    EXPECT_EQ(row[3], expected[2]);
    EXPECT_EQ(plainDecimal(row[4].get<std::string>()), expected[3]);
  }
  EXPECT_EQ(table["rows"].back()[0], kRows - 1);
}

// Enough tables that the catalog spans several data pages and its indexes several leaves.
TEST(Jet4ManyTablesTest, BothReadersListEveryTable) {
  const int kTables = 600;
  TempFolder folder;
  const std::string path = folder.file("Recovered_Many.accdb");
  std::vector<std::string> names;
  {
    auto db = jet4::MakeJet4Database();
    db->Create(path, engine::kEngineLocale, 0);
    for (int i = 0; i < kTables; ++i) {
      names.push_back("Table number " + std::to_string(1000 + i) + (i % 3 == 0 ? " with a rather longer name" : ""));
      db->Execute("CREATE TABLE [" + names.back() + "] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Value] TEXT(10)\r\n);");
      writeRows(*db, names.back(),
                {{"ID", "COUNTER", Kind::kInteger, "long"}, {"Value", "TEXT(10)", Kind::kText, "text"}},
                {{std::nullopt, std::to_string(i)}});
    }
    db->Close();
  }
  bool ran = false;
  if (testsupport::MdbToolsUnavailable().empty()) {
    ran = true;
    EXPECT_EQ(testsupport::MdbToolsTables(path), names);
    const auto rows = testsupport::MdbToolsExport(path, names[kTables - 1]);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][1], std::to_string(kTables - 1));
  }
  if (testsupport::MdbReaderUnavailable().empty()) {
    ran = true;
    const nlohmann::json dump = testsupport::MdbReaderDump(path);
    ASSERT_TRUE(dump.is_object());
    ASSERT_EQ(dump["tables"].size(), names.size());
    for (int i = 0; i < kTables; ++i) {
      EXPECT_EQ(dump["tables"][i]["name"], names[static_cast<size_t>(i)]);
      EXPECT_EQ(dump["tables"][i]["rows"], nlohmann::json::array({nlohmann::json::array({"1", std::to_string(i)})}));
    }
  }
  if (!ran) GTEST_SKIP() << "neither mdbtools nor mdb-reader available: skipped";
}

}  // namespace

namespace {

// A definition of 255 columns spans several pages; rows of one BIT fill pages up to the row limit.
TEST(Jet4ShapesTest, WideDefinitionsAndTinyRowsReadBack) {
  TempFolder folder;
  const std::string path = folder.file("Recovered_Shapes.accdb");
  const int kColumns = 255, kBits = 1000;
  const auto columnName = [](int i) { return "Column with a long name number " + std::to_string(i); };
  const auto cellText = [](int i, int row) { return i % 3 == 1 ? std::to_string(i * row) : "v" + std::to_string(i); };
  {
    auto db = jet4::MakeJet4Database();
    db->Create(path, engine::kEngineLocale, 0);
    std::string statement = "CREATE TABLE [Wide] \r\n(";
    for (int i = 0; i < kColumns; ++i)
      statement += std::string(i ? ", " : "") + "\r\n\t[" + columnName(i) + "] " +
                   (i % 3 == 0   ? "TEXT(10)"
                    : i % 3 == 1 ? "LONG"
                                 : "MEMO");
    db->Execute(statement + "\r\n);");
    db->Execute("CREATE TABLE [Bits] \r\n(\r\n\t[B] BIT\r\n);");
    auto rs = db->NewRecordset();
    rs->Open("select * from [Wide] where 1=-1");
    for (int row = 0; row < 3; ++row) {
      rs->AddNew();
      for (int i = 0; i < kColumns; ++i) rs->SetFieldValue(columnName(i), support::TextValue(cellText(i, row)));
      rs->Update();
    }
    rs->Open("select * from [Bits] where 1=-1");
    for (int row = 0; row < kBits; ++row) {
      rs->AddNew();
      rs->SetFieldValue("B", support::TextValue(row % 2 ? "1" : "0"));
      rs->Update();
    }
    rs->Close();
    db->Close();
  }
  bool ran = false;
  if (testsupport::MdbToolsUnavailable().empty()) {
    ran = true;
    const auto wide = testsupport::MdbToolsExport(path, "Wide");
    ASSERT_EQ(wide.size(), 4u);
    for (int row = 0; row < 3; ++row) {
      ASSERT_EQ(wide[static_cast<size_t>(row) + 1].size(), static_cast<size_t>(kColumns));
      for (int i = 0; i < kColumns; ++i)
        EXPECT_EQ(wide[static_cast<size_t>(row) + 1][static_cast<size_t>(i)], cellText(i, row));
    }
    const auto bits = testsupport::MdbToolsExport(path, "Bits");
    ASSERT_EQ(bits.size(), static_cast<size_t>(kBits) + 1);
    for (int row = 0; row < kBits; ++row) EXPECT_EQ(bits[static_cast<size_t>(row) + 1][0], row % 2 ? "1" : "0");
  }
  if (testsupport::MdbReaderUnavailable().empty()) {
    ran = true;
    const nlohmann::json dump = testsupport::MdbReaderDump(path);
    ASSERT_TRUE(dump.is_object());
    ASSERT_EQ(dump["tables"].size(), 2u);
    const nlohmann::json& wide = dump["tables"][0];
    ASSERT_EQ(wide["columns"].size(), static_cast<size_t>(kColumns));
    ASSERT_EQ(wide["rows"].size(), 3u);
    for (int row = 0; row < 3; ++row)
      for (int i = 0; i < kColumns; ++i) EXPECT_EQ(wide["rows"][row][i], cellText(i, row));
    const nlohmann::json& bits = dump["tables"][1];
    ASSERT_EQ(bits["rows"].size(), static_cast<size_t>(kBits));
    for (int row = 0; row < kBits; ++row) EXPECT_EQ(bits["rows"][row][0], row % 2 ? "1" : "0");
  }
  if (!ran) GTEST_SKIP() << "neither mdbtools nor mdb-reader available: skipped";
}

}  // namespace

namespace {

// A row too large for a page is refused and the next one goes in; short long values that
// together would overflow the row move out to long-value pages.
TEST(Jet4ShapesTest, RowsTooLargeAreRefusedAndInlineValuesMoveOut) {
  TempFolder folder;
  const std::string path = folder.file("Recovered_Rows.accdb");
  const int kMemos = 70;
  const std::string sixtyBytes(28, 'x');  // with the prefix: 30 characters, 60 bytes of UTF-16
  std::string nonLatin;
  for (int i = 0; i < 255; ++i) nonLatin += "\xD0\x96";
  {
    auto db = jet4::MakeJet4Database();
    db->Create(path, engine::kEngineLocale, 0);
    std::string texts = "CREATE TABLE [Texts] \r\n(";
    for (int i = 0; i < 10; ++i) texts += std::string(i ? ", " : "") + "\r\n\t[T" + std::to_string(i) + "] TEXT(255)";
    db->Execute(texts + "\r\n);");
    std::string memos = "CREATE TABLE [Memos] \r\n(";
    for (int i = 0; i < kMemos; ++i) memos += std::string(i ? ", " : "") + "\r\n\t[M" + std::to_string(i) + "] MEMO";
    db->Execute(memos + "\r\n);");

    auto rs = db->NewRecordset();
    rs->Open("select * from [Texts] where 1=-1");
    rs->AddNew();
    for (int i = 0; i < 10; ++i)
      rs->SetFieldValue("T" + std::to_string(i), support::TextValue(nonLatin));  // 5,100 bytes
    EXPECT_THROW(rs->Update(), engine::EngineError);
    rs->AddNew();
    rs->SetFieldValue("T0", support::TextValue(nonLatin));
    rs->Update();
    rs->Open("select * from [Memos] where 1=-1");
    rs->AddNew();
    for (int i = 0; i < kMemos; ++i)
      rs->SetFieldValue("M" + std::to_string(i), support::TextValue("\xD0\x96" + std::to_string(i) + sixtyBytes));
    rs->Update();
    rs->Close();
    db->Close();
  }
  SKIP_WITHOUT_MDB_READER();
  const nlohmann::json dump = testsupport::MdbReaderDump(path);
  ASSERT_TRUE(dump.is_object());
  ASSERT_EQ(dump["tables"].size(), 2u);
  const nlohmann::json& texts = dump["tables"][1]["name"] == "Texts" ? dump["tables"][1] : dump["tables"][0];
  const nlohmann::json& memos = dump["tables"][1]["name"] == "Texts" ? dump["tables"][0] : dump["tables"][1];
  ASSERT_EQ(texts["rows"].size(), 1u);
  EXPECT_EQ(texts["rows"][0][0], nonLatin);
  EXPECT_TRUE(texts["rows"][0][1].is_null());
  ASSERT_EQ(memos["rows"].size(), 1u);
  for (int i = 0; i < kMemos; ++i) EXPECT_EQ(memos["rows"][0][i], "\xD0\x96" + std::to_string(i) + sixtyBytes) << i;
}

}  // namespace
