// Each value kind bound into a column of its declared type and read back from SQLite: the
// storage class SQLite keeps and the value itself, exactly.
#include "export/sqlite_values.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>

#include "export/sqlite_file.h"
#include "records/type_names.h"
#include "support/value_builders.h"
#include "tests/support/corpus.h"

namespace {

using support::ValueKind;

analysis::Column columnOf(int type, int precision = 0, int scale = 0) {
  analysis::Column column;
  column.name = "c";
  column.type = type;
  column.precision = precision;
  column.scale = scale;
  return column;
}

struct ReadBack {
  int storage = 0;
  std::string text;  // the value as text (INTEGER, TEXT) or its bytes (BLOB)
  double real = 0;
};

ReadBack roundTrip(const analysis::Column& column, const support::Value& value) {
  testsupport::TempFolder folder;
  exporter::SqliteFile file;
  EXPECT_TRUE(file.create(folder.file("v.sqlite")));
  const std::string type = exporter::SqliteDeclaredType(column);
  EXPECT_TRUE(file.execute("CREATE TABLE t (c " + type + ")")) << file.error();
  sqlite3_stmt* insert = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(file.handle(), "INSERT INTO t VALUES (?)", -1, &insert, nullptr), SQLITE_OK);
  EXPECT_EQ(exporter::BindSqliteValue(insert, 1, column, value), SQLITE_OK);
  EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
  sqlite3_finalize(insert);
  sqlite3_stmt* select = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(file.handle(), "SELECT c FROM t", -1, &select, nullptr), SQLITE_OK);
  ReadBack back;
  if (sqlite3_step(select) == SQLITE_ROW) {
    back.storage = sqlite3_column_type(select, 0);
    back.real = sqlite3_column_double(select, 0);
    const void* bytes = sqlite3_column_blob(select, 0);
    const int size = sqlite3_column_bytes(select, 0);
    if (bytes) back.text.assign(static_cast<const char*>(bytes), static_cast<size_t>(size));
  }
  sqlite3_finalize(select);
  return back;
}

TEST(SqliteValuesTest, EveryKindReadsBackExactly) {
  struct Case {
    const char* what;
    analysis::Column column;
    support::Value value;
    int storage;
    std::string text;  // expected text/bytes; for REAL the value below
    double real = 0;
  };
  const double third = 1.0 / 3.0;
  const float single = 0.1f;
  const Case cases[] = {
      {"null", columnOf(records::kTypeLong), support::Value{}, SQLITE_NULL, ""},
      {"bit", columnOf(records::kTypeBit), support::IntegerValue(ValueKind::kBoolean, 1), SQLITE_INTEGER, "1"},
      {"long, negative", columnOf(records::kTypeLong), support::IntegerValue(ValueKind::kInt32, -2147483647 - 1),
       SQLITE_INTEGER, "-2147483648"},
      {"double, bit-exact", columnOf(records::kTypeDouble), support::RealValue(ValueKind::kDouble, third), SQLITE_FLOAT,
       "", third},
      {"single, widened exactly", columnOf(records::kTypeSingle), support::RealValue(ValueKind::kSingle, single),
       SQLITE_FLOAT, "", static_cast<double>(single)},
      {"currency, beyond a double's digits", columnOf(records::kTypeCurrency),
       support::IntegerValue(ValueKind::kCurrency, INT64_MAX), SQLITE_TEXT, "922337203685477.5807"},
      {"currency, short: still text", columnOf(records::kTypeCurrency),
       support::IntegerValue(ValueKind::kCurrency, 123400), SQLITE_TEXT, "12.3400"},
      {"numeric", columnOf(records::kTypeNumeric, 28, 3), support::NumericOf(true, 28, 3, "5"), SQLITE_TEXT, "-0.005"},
      {"date with a fraction of a second", columnOf(records::kTypeDate),
       support::RealValue(ValueKind::kDate, 2.0 + 0.5 / 86400.0), SQLITE_TEXT, "1900-01-01 00:00:00.5"},
      {"date before 1899-12-30", columnOf(records::kTypeDate), support::RealValue(ValueKind::kDate, -1.25), SQLITE_TEXT,
       "1899-12-29 06:00:00"},
      {"date outside the calendar stays its number", columnOf(records::kTypeDate),
       support::RealValue(ValueKind::kDate, 1e7 + 0.5), SQLITE_FLOAT, "", 1e7 + 0.5},
      {"text with a quote and a NUL-free line break", columnOf(records::kTypeText),
       support::TextValue("it's \"x\"\r\n\xC3\xA9"), SQLITE_TEXT, "it's \"x\"\r\n\xC3\xA9"},
      {"text that looks like a number stays text", columnOf(records::kTypeText), support::TextValue("007"), SQLITE_TEXT,
       "007"},
      {"empty binary is no null", columnOf(records::kTypeBinary), support::BytesValue(ValueKind::kBinary, {}),
       SQLITE_BLOB, ""},
      {"OLE: the stored bytes", columnOf(records::kTypeOle),
       support::BytesValue(ValueKind::kLongBinary, {0x15, 0x1c, 0x00, 0xff}), SQLITE_BLOB,
       std::string("\x15\x1c\x00\xff", 4)},
  };
  for (const auto& c : cases) {
    const ReadBack back = roundTrip(c.column, c.value);
    EXPECT_EQ(back.storage, c.storage) << c.what;
    if (c.storage == SQLITE_FLOAT)
      EXPECT_EQ(std::memcmp(&back.real, &c.real, sizeof c.real), 0) << c.what << ": " << back.real;
    else
      EXPECT_EQ(back.text, c.text) << c.what;
  }
}

TEST(SqliteValuesTest, ExtendedDatesAsText) {
  EXPECT_EQ(exporter::SqliteExtendedDateText(0), "0001-01-01 00:00:00");
  EXPECT_EQ(exporter::SqliteExtendedDateText(864000000000LL + 15), "0001-01-02 00:00:00.0000015");
  EXPECT_EQ(exporter::SqliteExtendedDateText(-1), "");
}

TEST(SqliteFileTest, NeverOverwritesAFile) {
  testsupport::TempFolder folder;
  const std::string path = folder.file("x.sqlite");
  {
    exporter::SqliteFile file;
    ASSERT_TRUE(file.create(path));
    ASSERT_TRUE(file.execute("CREATE TABLE kept (a)"));
  }
  exporter::SqliteFile again;
  EXPECT_FALSE(again.create(path));
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, "SELECT * FROM kept", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

}  // namespace
