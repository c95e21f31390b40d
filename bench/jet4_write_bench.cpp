// Speed of the Jet 4 writer through the engine interface, as the export drives it: values
// arrive as display texts, one SetFieldValue per field. Prints rows per second and megabytes
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
  std::function<std::string(size_t column, long row)> value;
  long rowDivisor;  // wide shapes write fewer rows
};

std::string money(long i) {
  return std::to_string(i / 100) + "." + std::to_string(i % 100 / 10) + std::to_string(i % 10);
}

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
    for (size_t c = 0; c < shape.columns.size(); ++c)
      rs->SetFieldValue(shape.columns[c], support::TextValue(shape.value(c, r)));
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
       [](size_t c, long r) { return c == 0   ? std::to_string(r * 7)
                                     : c == 1 ? "row " + std::to_string(r)
                                              : money(r); },
       1},
      {"mixed",
       "CREATE TABLE [T] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Name] TEXT(50), \r\n\t[City] TEXT(30), \r\n\t[Joined] DATE, "
       "\r\n\t[Active] BIT, \r\n\t[Score] DOUBLE, \r\n\t[Code] GUID, \r\n\t[Price] NUMERIC(18,2), \r\n\t[Notes] "
       "MEMO\r\n);",
       {"Name", "City", "Joined", "Active", "Score", "Code", "Price", "Notes"},
       [](size_t c, long r) -> std::string {
         switch (c) {
           case 0: return "Customer number " + std::to_string(r);
           case 1: return r % 3 ? "Zürich" : "Москва";
           case 2: return "03/07/2026 14:05:09";
           case 3: return r % 2 ? "1" : "0";
           case 4: return std::to_string(r) + ".125";
           case 5: return "{12345678-9ABC-DEF0-1234-56789ABCDEF0}";
           case 6: return "0000000000000" + money(r);
           default: return r % 10 ? "A short note" : std::string(300 + r % 2000, 'n');
         }
       },
       2},
      {"memo",
       "CREATE TABLE [T] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Body] MEMO, \r\n\t[Blob] OLEOBJECT\r\n);",
       {"Body", "Blob"},
       [](size_t c, long r) { return c == 0 ? std::string(10000 + r % 5000, 'm') : std::string(20000, '\x5A'); },
       100},
  };
  for (const Shape& shape : shapes) run(folder, shape, rows);
}
