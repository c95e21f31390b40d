// UnlockFile: detecting page encryption before the format check, and getting the password.
#include <vector>

#include "analysis/mdb_recovery.h"
#include "support/execution_log.h"

namespace analysis {

namespace {
constexpr const char* kUnsupportedMessage = "This file is encrypted in a way that cannot be read.";

bool stop(ProgressChannel& channel, const std::string& message) {
  support::LogError(message);
  channel.fatalStop(message);
  return false;
}
}  // namespace

bool MdbRecovery::UnlockFile() {
  if (!file.isOpen()) return false;
  std::vector<uint8_t> page0(kPageSize, 0);
  if (file.readRawAt(0, page0.data(), page0.size()) <= 0) return true;
  const EncryptionHeader header = ParseEncryptionHeader(support::ByteView(page0));
  UnlockResult result = UnlockPages(header, std::nullopt);
  bool afterWrongPassword = false;
  while (result.status == UnlockStatus::PasswordNeeded || result.status == UnlockStatus::WrongPassword) {
    afterWrongPassword = result.status == UnlockStatus::WrongPassword;
    std::optional<std::string> password = passwordSource ? passwordSource(afterWrongPassword) : std::nullopt;
    if (!password) return stop(*channel, afterWrongPassword ? kWrongPasswordMessage : kEncryptedFileMessage);
    // A retry follows a wrong password: that one is logged too.
    if (afterWrongPassword) support::LogError(kWrongPasswordMessage);
    result = UnlockPages(header, password);
  }
  if (result.status == UnlockStatus::Unsupported) {
    support::LogError("Encryption not supported: " + header.problem);
    return stop(*channel, kUnsupportedMessage);
  }
  file.setCipher(result.cipher);
  return true;
}

}  // namespace analysis
