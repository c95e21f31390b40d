// Fuzzes page 0's encryption fields: the parser must stay inside the page, and whatever it
// accepts must unlock (or refuse) and decrypt a page cleanly.
#include <vector>

#include "analysis/encryption_header.h"
#include "analysis/page_cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> page0(data, data + size);
  const analysis::EncryptionHeader header = analysis::ParseEncryptionHeader(support::ByteView(page0));
  // Spinning a large count costs seconds per input and teaches the fuzzer nothing.
  if (header.kind == analysis::EncryptionKind::Agile && header.agile.spinCount > 1000) return 0;
  const analysis::UnlockResult result = analysis::UnlockPages(header, std::string("password"));
  if (result.cipher) {
    std::vector<uint8_t> page(4096 + 5, 0x5A);
    result.cipher->decryptPage(1, page.data(), page.size());
    result.cipher->decryptPage(0xFFFFFFFF, page.data(), 7);
  }
  return 0;
}
