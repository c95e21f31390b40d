// Builds small seed inputs for the fuzz targets from the shared corpus when it is there:
// the first pages of each file and single pages of each kind. Nothing of the corpus is kept
// in the project; the seeds live in the build tree.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr size_t kPage = 4096;

uint32_t u32(const std::vector<char>& bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
         static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

std::vector<char> pageOf(const std::vector<char>& bytes, size_t number) {
  return std::vector<char>(bytes.begin() + static_cast<long>(number * kPage),
                           bytes.begin() + static_cast<long>((number + 1) * kPage));
}

void writeSeed(const fs::path& folder, const std::string& name, const std::vector<char>& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  // $TESSALY_CORPUS names the corpus where the checkout does not sit beside it, as for the tests.
  const char* chosen = std::getenv("TESSALY_CORPUS");
  const fs::path corpus = chosen != nullptr && *chosen != '\0' ? chosen : argv[1];
  const fs::path seeds = argv[2];
  writeSeed(seeds / "fuzz_tokenizer", "row",
            std::vector<char>{'\x04', '\x09', '@', '#', '#', '@', '#', '$', '~', '#', '#', '%',
                              'a',    '@',    '#', '#', '@', '#', '$', '~', '#', '#', '%', 'b'});
  if (!fs::is_directory(corpus)) {
    std::printf("no corpus at %s: only built-in seeds\n", corpus.c_str());
    return 0;
  }
  int files = 0;
  // fuzz_encryption_header: page 0 of each encrypted or password-protected file.
  {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(corpus / "encrypted", ec)) {
      if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::vector<char> page0(kPage, 0);
      in.read(page0.data(), static_cast<std::streamsize>(page0.size()));
      writeSeed(seeds / "fuzz_encryption_header", entry.path().filename().string(), page0);
    }
  }
  for (const char* sub : {"jet4", "ace"}) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(corpus / sub, ec)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      const std::string stem = entry.path().filename().string();
      // Whole small files and the first 24 pages of larger ones.
      std::vector<char> head(bytes.begin(), bytes.begin() + static_cast<long>(std::min(bytes.size(), 24 * kPage)));
      writeSeed(seeds / "fuzz_analyze", stem, head);
      writeSeed(seeds / "fuzz_records", stem, head);
      const size_t pages = bytes.size() / kPage;
      // fuzz_rows: a table definition page (length 4096 first) and the first data page it owns.
      int rowSeeds = 0;
      for (size_t p = 1; p < pages && rowSeeds < 6; ++p) {
        if (bytes[p * kPage] != 2) continue;
        for (size_t d = 1; d < pages; ++d) {
          if (bytes[d * kPage] != 1 || u32(bytes, d * kPage + 4) != p) continue;
          std::vector<char> seed = {0x00, 0x10};
          const std::vector<char> definition = pageOf(bytes, p), data = pageOf(bytes, d);
          seed.insert(seed.end(), definition.begin(), definition.end());
          seed.insert(seed.end(), data.begin(), data.end());
          writeSeed(seeds / "fuzz_rows", stem + "-" + std::to_string(p), seed);
          // fuzz_layout_inference: the same data page alone, as if its definition were lost.
          writeSeed(seeds / "fuzz_layout_inference", stem + "-" + std::to_string(p), data);
          ++rowSeeds;
          break;
        }
      }
      // fuzz_long_values: a MEMO and an OLE reference to row 0 of the file's first long-value
      // page, as one row and as a chain, followed by that page (page 1 of the fuzzed file).
      for (size_t p = 1; p < pages; ++p) {
        if (bytes[p * kPage] != 1 || u32(bytes, p * kPage + 4) != 0x4C41564C) continue;
        const std::vector<char> lval = pageOf(bytes, p);
        for (const char mode : {'\0', '\1'}) {
          for (const char kind : {'\x40', '\0'}) {
            std::vector<char> seed = {mode, 12, 0, '\x40', 0, 0, kind, 0, 1, 0, 0, 0, 0, 0, 0};
            seed.insert(seed.end(), lval.begin(), lval.end());
            writeSeed(seeds / "fuzz_long_values", stem + (mode ? "-ole" : "-memo") + (kind ? "-row" : "-chain"), seed);
          }
        }
        break;
      }
      ++files;
    }
  }
  std::printf("seeds from %d corpus files\n", files);
  return 0;
}
