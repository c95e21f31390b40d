// Builds small seed inputs for the fuzz targets from the shared corpus when it is there:
// the first pages of each file and single pages of each kind. Nothing of the corpus is kept
// in the project; the seeds live in the build tree.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
void writeSeed(const fs::path& folder, const std::string& name, const std::vector<char>& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const fs::path corpus = argv[1];
  const fs::path seeds = argv[2];
  writeSeed(seeds / "fuzz_tokenizer", "row", std::vector<char>{'\x04', '\x09', '@', '#', '#', '@', '#', '$', '~', '#', '#', '%', 'a', '@', '#', '#', '@', '#', '$', '~', '#', '#', '%', 'b'});
  if (!fs::is_directory(corpus)) {
    std::printf("no corpus at %s: only built-in seeds\n", corpus.c_str());
    return 0;
  }
  constexpr size_t kPage = 4096;
  int files = 0;
  for (const char* sub : {"jet4", "ace"}) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(corpus / sub, ec)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      const std::string stem = entry.path().filename().string();
      // Whole small files and the first 24 pages of larger ones.
      std::vector<char> head(bytes.begin(), bytes.begin() + static_cast<long>(std::min(bytes.size(), 24 * kPage)));
      writeSeed(seeds / "fuzz_analyze", stem, head);
      // Single pages for the page-level targets: each data, definition and long-value page kind once.
      for (size_t p = 1; p * kPage + kPage <= bytes.size() && p < 64; ++p) {
        std::vector<char> page(bytes.begin() + static_cast<long>(p * kPage), bytes.begin() + static_cast<long>((p + 1) * kPage));
        if (page[0] == 1 || page[0] == 2) writeSeed(seeds / "pages", stem + "-" + std::to_string(p), page);
      }
      ++files;
    }
  }
  std::printf("seeds from %d corpus files\n", files);
  return 0;
}
