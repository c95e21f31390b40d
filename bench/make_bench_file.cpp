// Writes a large bench database with our Jet 4 writer, through the engine interface as the
// Access export drives it: a customer table of mixed types, an order table with the most rows
// and a document table whose memos and OLE objects run over chains of long-value pages. The
// content depends only on the row numbers, so two runs with the same size write the same file.
//
// Usage: make_bench_file OUT.mdb [--size-mb N]   (default 2000 MB; a Jet 4 file ends at 2 GiB)
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "jet4/jet4_engine.h"
#include "support/value_builders.h"

namespace {

using support::ValueKind;

// splitmix64: a fixed sequence of well-mixed numbers per row, no hidden state.
uint64_t mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

const std::vector<std::string> kWords = {"Zürich", "Москва",  "Ελλάδα", "日本語",  "façade", "crème",  "Ærøskøbing",
                                         "Łódź",   "harbour", "ledger", "invoice", "meadow", "quartz", "river",
                                         "signal", "timber",  "window", "yellow",  "orbit",  "parcel"};
const std::vector<std::string> kCities = {"Zürich", "Москва",    "Αθήνα", "東京", "São Paulo",
                                          "Kraków", "Reykjavík", "Lyon",  "Oslo", "Dublin"};

std::string words(uint64_t seed, size_t bytes) {
  std::string text;
  text.reserve(bytes + 16);
  for (uint64_t n = 0; text.size() < bytes; ++n) {
    if (!text.empty()) text += (n % 13 == 0) ? ".\r\n" : " ";
    text += kWords[mix(seed + n) % kWords.size()];
  }
  return text;
}

std::vector<uint8_t> blob(uint64_t seed, size_t bytes) {
  std::vector<uint8_t> data(bytes);
  for (size_t i = 0; i < bytes; i += 8) {
    const uint64_t v = mix(seed + i);
    for (size_t k = 0; k < 8 && i + k < bytes; ++k) data[i + k] = static_cast<uint8_t>(v >> (8 * k));
  }
  return data;
}

std::vector<uint8_t> guid(uint64_t seed) {
  std::vector<uint8_t> bytes = blob(seed, 16);
  bytes[7] = static_cast<uint8_t>((bytes[7] & 0x0F) | 0x40);  // a version 4 GUID
  return bytes;
}

struct Table {
  const char* name;
  const char* statement;
  std::vector<const char*> columns;
  std::function<support::Value(size_t column, uint64_t row)> value;
  double share;  // of the file's size
};

const std::vector<Table> kTables = {
    {"Customers",
     "CREATE TABLE [Customers] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Name] TEXT(60), \r\n\t[City] TEXT(40), \r\n\t[Joined] "
     "DATE, \r\n\t[Active] BIT, \r\n\t[Score] DOUBLE, \r\n\t[Code] GUID, \r\n\t[Balance] CURRENCY, \r\n\t[Price] "
     "NUMERIC(18,4), \r\n\t[Visits] LONG, \r\n\t[Notes] MEMO\r\n);",
     {"Name", "City", "Joined", "Active", "Score", "Code", "Balance", "Price", "Visits", "Notes"},
     [](size_t c, uint64_t r) {
       const uint64_t h = mix(r * 16 + c);
       switch (c) {
         case 0: return support::TextValue(kWords[h % kWords.size()] + " customer " + std::to_string(r));
         case 1: return support::TextValue(kCities[h % kCities.size()]);
         case 2:
           return support::RealValue(ValueKind::kDate, 36526.0 + static_cast<double>(h % 9000) + (h % 86400) / 86400.0);
         case 3: return support::IntegerValue(ValueKind::kBoolean, h % 2);
         case 4: return support::RealValue(ValueKind::kDouble, static_cast<double>(h % 2000000) / 64.0 - 1000.0);
         case 5: return support::BytesValue(ValueKind::kGuid, guid(h));
         case 6: return support::IntegerValue(ValueKind::kCurrency, static_cast<int64_t>(h % 100000000) - 20000000);
         case 7: return support::NumericOf(h % 5 == 0, 18, 4, std::to_string(h % 1000000000000ull));
         case 8: return support::IntegerValue(ValueKind::kInt32, static_cast<int64_t>(h % 100000));
         default: return support::TextValue(words(h, h % 8 ? 40 + h % 200 : 1000 + h % 4000));
       }
     },
     0.20},
    {"Orders",
     "CREATE TABLE [Orders] \r\n(\r\n\t[ID] COUNTER, \r\n\t[CustomerID] LONG, \r\n\t[Item] TEXT(30), \r\n\t[Quantity] "
     "LONG, \r\n\t[Amount] CURRENCY, \r\n\t[Ordered] DATE, \r\n\t[Discount] DOUBLE, \r\n\t[Reference] GUID\r\n);",
     {"CustomerID", "Item", "Quantity", "Amount", "Ordered", "Discount", "Reference"},
     [](size_t c, uint64_t r) {
       const uint64_t h = mix(r * 16 + c + 0x100000000ull);
       switch (c) {
         case 0: return support::IntegerValue(ValueKind::kInt32, static_cast<int64_t>(h % 1000000));
         case 1: return support::TextValue(kWords[h % kWords.size()] + " " + std::to_string(h % 1000));
         case 2: return support::IntegerValue(ValueKind::kInt32, static_cast<int64_t>(1 + h % 50));
         case 3: return support::IntegerValue(ValueKind::kCurrency, static_cast<int64_t>(h % 10000000));
         case 4:
           return support::RealValue(ValueKind::kDate, 40179.0 + static_cast<double>(h % 6000) + (h % 1440) / 1440.0);
         case 5: return support::RealValue(ValueKind::kDouble, static_cast<double>(h % 1000) / 1000.0);
         default: return support::BytesValue(ValueKind::kGuid, guid(h));
       }
     },
     0.35},
    {"Documents",
     "CREATE TABLE [Documents] \r\n(\r\n\t[ID] COUNTER, \r\n\t[Title] TEXT(100), \r\n\t[Created] DATE, \r\n\t[Body] "
     "MEMO, \r\n\t[Attachment] OLEOBJECT\r\n);",
     {"Title", "Created", "Body", "Attachment"},
     [](size_t c, uint64_t r) {
       const uint64_t h = mix(r * 16 + c + 0x200000000ull);
       switch (c) {
         case 0: return support::TextValue("Document " + std::to_string(r) + " " + kWords[h % kWords.size()]);
         case 1: return support::RealValue(ValueKind::kDate, 43831.0 + static_cast<double>(h % 2000));
         case 2: return support::TextValue(words(h, h % 4 ? 2000 + h % 6000 : 20000 + h % 60000));  // long chains
         default: return support::BytesValue(ValueKind::kLongBinary, blob(h, 8000 + h % 120000));
       }
     },
     0.45},
};

uint64_t fileSize(const std::filesystem::path& path) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  return error ? 0 : static_cast<uint64_t>(size);
}

// The writer builds the file under a temporary name beside OUT and renames it when it closes, so
// the size so far is that of OUT or of a file named "OUT.~...".
uint64_t writtenSoFar(const std::string& path) {
  const std::filesystem::path out(path);
  const std::filesystem::path folder = out.has_parent_path() ? out.parent_path() : ".";
  const std::string prefix = out.filename().string() + ".~";
  uint64_t size = fileSize(out);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.path().filename().string().rfind(prefix, 0) == 0) size = std::max(size, fileSize(entry.path()));
  return size;
}

// Bytes a value takes at least in the file: a floor on the size when the file cannot be seen.
uint64_t payload(const support::Value& value) {
  return 8 + value.text.size() + value.bytes.size();
}

int usage() {
  std::fprintf(stderr, "usage: make_bench_file OUT.mdb [--size-mb N]   (N from 1 to 2100, default 2000)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path;
  long sizeMb = 2000;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--size-mb" && i + 1 < argc)
      sizeMb = std::atol(argv[++i]);
    else if (path.empty() && !arg.empty() && arg[0] != '-')
      path = arg;
    else
      return usage();
  }
  // 2100 MB stays below the 2 GiB that a Jet 4 page number and file size allow.
  if (path.empty() || sizeMb < 1 || sizeMb > 2100) return usage();
  if (std::filesystem::exists(path)) {
    std::fprintf(stderr, "make_bench_file: %s exists; remove it first\n", path.c_str());
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();
  try {
    auto db = jet4::MakeJet4Database();
    db->Create(path, engine::kEngineLocale, 0);
    double targetShare = 0;
    uint64_t payloadBytes = 0;
    for (const Table& table : kTables) {
      targetShare += table.share;
      const uint64_t target = static_cast<uint64_t>(targetShare * static_cast<double>(sizeMb) * 1e6);
      db->Execute(table.statement);
      auto rs = db->NewRecordset();
      rs->Open(std::string("select * from [") + table.name + "] where 1=-1");
      uint64_t rows = 0;
      // The writer hands pages to the file in blocks, so the size seen lags by at most a block.
      while (rows % 32 != 0 || std::max(writtenSoFar(path), payloadBytes) < target) {
        rs->AddNew();
        for (size_t c = 0; c < table.columns.size(); ++c) {
          support::Value value = table.value(c, rows);
          payloadBytes += payload(value);
          rs->SetFieldValue(table.columns[c], std::move(value));
        }
        rs->Update();
        ++rows;
      }
      rs->Close();
      std::printf("%s: %llu rows\n", table.name, static_cast<unsigned long long>(rows));
      std::fflush(stdout);
    }
    db->Close();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_bench_file: %s\n", error.what());
    std::filesystem::remove(path);
    return 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s: %.1f MB in %.1f s\n", path.c_str(), static_cast<double>(fileSize(path)) / 1e6, seconds);
  return 0;
}
