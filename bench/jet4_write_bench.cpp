// Speed of the Jet 4 writer through the engine interface, as the export drives it: values
// arrive typed (support::Value), one SetFieldValue per field. Prints rows per second and megabytes
// (of file written) per second for a few table shapes.
//
// Usage: jet4_write_bench [FOLDER] [ROWS]   (default: $TMPDIR or /tmp, 1000000 rows)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "jet4/jet4_engine.h"
#include "support/value_builders.h"

namespace {

struct Shape {
  const char* name;
  const char* statement;
  std::vector<const char*> columns;
  std::function<support::Value(size_t column, long row)> value;
  long rowDivisor;  // wide shapes write fewer rows
};

using support::ValueKind;

const std::vector<uint8_t> kGuid = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE,
                                    0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0};

void run(const std::string& folder, const Shape& shape, long rows) {
  rows /= shape.rowDivisor;
  const std::string path = folder + "/jet4_bench_" + shape.name + ".accdb";
  std::filesystem::remove(path);
  const auto start = std::chrono::steady_clock::now();
  auto db = jet4::MakeJet4Database();
  db->Create(path, engine::kEngineLocale, 0);
  db->Execute(shape.statement);
  auto rs = db->NewRecordset();
  rs->Open("select * from [T] where 1=-1");
  for (long r = 0; r < rows; ++r) {
    rs->AddNew();
    for (size_t c = 0; c < shape.columns.size(); ++c) rs->SetFieldValue(shape.columns[c], shape.value(c, r));
    rs->Update();
  }
  rs->Close();
  db->Close();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  std::printf("%-8s %9ld rows  %8.1f MB  %6.2f s  %10.0f rows/s  %7.1f MB/s\n", shape.name, rows, megabytes, seconds,
              static_cast<double>(rows) / seconds, megabytes / seconds);
  std::filesystem::remove(path);
}

}  // namespace

int main(int argc, char** argv) {
  const char* tmp = std::getenv("TMPDIR");
  const std::string folder = argc > 1 ? argv[1] : (tmp ? tmp : "/tmp");
  const long rows = argc > 2 ? std::atol(argv[2]) : 1000000;
  const std::vector<Shape> shapes = {
      {"narrow",
       "CREATE TABLE [T] \r\n(\r\n\t[ID] COUNTER, \r\n\t[N] LONG, \r\n\t[Label] TEXT(20), \r\n\t[Amount] "
       "CURRENCY\r\n);",
       {"N", "Label", "Amount"},
       [](size_t c, long r) {
         return c == 0   ? support::IntegerValue(ValueKind::kInt32, r * 7)
                : c == 1 ? support::TextValue("row " + std::to_string(r))
                         : support::IntegerValue(ValueKind::kCurrency, r * 100);  // r / 100 with two decimals
       },
       1},
      {"mixed",
       "CREATE TABLE [T] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Name] TEXT(50), \r\n\t[City] TEXT(30), \r\n\t[Joined] DATE, "
       "\r\n\t[Active] BIT, \r\n\t[Score] DOUBLE, \r\n\t[Code] GUID, \r\n\t[Price] NUMERIC(18,2), \r\n\t[Notes] "
       "MEMO\r\n);",
       {"Name", "City", "Joined", "Active", "Score", "Code", "Price", "Notes"},
       [](size_t c, long r) {
         switch (c) {
           case 0: return support::TextValue("Customer number " + std::to_string(r));
           case 1: return support::TextValue(r % 3 ? "Zürich" : "Москва");
           case 2: return support::RealValue(ValueKind::kDate, 46088.587);  // 03/07/2026 14:05:17
           case 3: return support::IntegerValue(ValueKind::kBoolean, r % 2);
           case 4: return support::RealValue(ValueKind::kDouble, static_cast<double>(r) + 0.125);
           case 5: return support::BytesValue(ValueKind::kGuid, kGuid);
           case 6: return support::NumericOf(false, 18, 2, std::to_string(r));
           default: return support::TextValue(r % 10 ? "A short note" : std::string(300 + r % 2000, 'n'));
         }
       },
       2},
      {"memo",
       "CREATE TABLE [T] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Body] MEMO, \r\n\t[Blob] OLEOBJECT\r\n);",
       {"Body", "Blob"},
       [](size_t c, long r) {
         return c == 0 ? support::TextValue(std::string(10000 + r % 5000, 'm'))
                       : support::BytesValue(ValueKind::kLongBinary, std::vector<uint8_t>(20000, 0x5A));
       },
       100},
  };
  for (const Shape& shape : shapes) run(folder, shape, rows);
}
