// Encrypting a plain Jet 4 file the way Jet 4 does.
#include "tests/support/encrypted_copy.h"

#include <algorithm>

#include "analysis/crypto.h"

namespace testsupport {

std::vector<uint8_t> JetRc4Encrypted(std::vector<uint8_t> file, uint32_t encodingKey) {
  constexpr size_t kPage = 4096;
  // The plain file stores a zero key, i.e. the bare mask: XORing the key on leaves it masked.
  for (size_t i = 0; i < 4 && 0x3E + i < file.size(); ++i)
    file[0x3E + i] ^= static_cast<uint8_t>(encodingKey >> (8 * i));
  for (size_t start = kPage, page = 1; start < file.size(); start += kPage, ++page) {
    const uint32_t block = encodingKey ^ static_cast<uint32_t>(page);
    const uint8_t key[] = {static_cast<uint8_t>(block), static_cast<uint8_t>(block >> 8),
                           static_cast<uint8_t>(block >> 16), static_cast<uint8_t>(block >> 24)};
    analysis::crypto::Rc4(support::ByteView(key, sizeof key), file.data() + start,
                          std::min(kPage, file.size() - start));
  }
  return file;
}

}  // namespace testsupport
