// Fuzzes a whole file through the analysis: format detection, signature search, page scan,
// table discovery and the later analysis steps.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  std::string path = fuzzsupport::WriteScratchFile(data, size, ".mdb");
  fuzzsupport::Recovery().Analyze(path);
  return 0;
}
