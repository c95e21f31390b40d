// Turning a password into the key of an encrypted file's pages, and decrypting pages with it.
// Every page but page 0 is encrypted whole, with a key (or IV) made from the block key
// b(p) = LE32(encoding key XOR p) of its page number p.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "analysis/encryption_header.h"

namespace analysis {

class PageCipher {
 public:
  virtual ~PageCipher() = default;
  // Decrypts the page numbered pageNumber in place; page 0 stays as it is. A short page (the
  // end of a truncated file) is decrypted as far as the cipher allows.
  virtual void decryptPage(uint32_t pageNumber, uint8_t* bytes, size_t length) const = 0;
};

enum class UnlockStatus {
  Plain,           // nothing to decrypt
  Unlocked,        // cipher is set
  PasswordNeeded,  // the file needs a password and none was given
  WrongPassword,   // the password does not open the file
  Unsupported,     // encrypted in a way this reader cannot decrypt
};

struct UnlockResult {
  UnlockStatus status = UnlockStatus::Plain;
  std::shared_ptr<const PageCipher> cipher;
};

// The password (UTF-8) is only looked at when the file needs one.
UnlockResult UnlockPages(const EncryptionHeader& header, const std::optional<std::string>& password);

}  // namespace analysis
