// The CLI's password source.
#include "cli/password_input.h"

#include <cstdlib>
#include <optional>

#include "cli/commands.h"
#include "platform/read_only_file.h"
#include "platform/terminal_password.h"

namespace cli {

namespace {
constexpr const char* kPasswordFileOption = "--password-file";
constexpr const char* kPasswordVariable = "TESSALY_PASSWORD";
constexpr int64_t kMaxPasswordFileBytes = 4096;

std::optional<std::string> g_passwordFromFile;

std::optional<std::string> readPasswordFile(const std::string& path) {
  platform::ReadOnlyFile file;
  if (!file.open(path)) return std::nullopt;
  const int64_t size = file.size();
  if (size < 0 || size > kMaxPasswordFileBytes) return std::nullopt;
  std::string text(static_cast<size_t>(size), '\0');
  const int64_t read = file.readAt(0, text.data(), text.size());
  if (read < 0) return std::nullopt;
  text.resize(static_cast<size_t>(read));
  if (!text.empty() && text.back() == '\n') {
    text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
  }
  return text;
}
}  // namespace

int TakePasswordOption(std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != kPasswordFileOption) continue;
    if (i + 1 >= args.size()) return UsageError(std::string(kPasswordFileOption) + " needs a file");
    const std::string path = args[i + 1];
    g_passwordFromFile = readPasswordFile(path);
    if (!g_passwordFromFile) return UsageError("cannot read the password file " + path);
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    --i;
  }
  return 0;
}

analysis::PasswordSource CliPasswordSource() {
  return [](bool afterWrongPassword) -> std::optional<std::string> {
    if (afterWrongPassword) return std::nullopt;
    if (g_passwordFromFile) return g_passwordFromFile;
    if (const char* fromEnvironment = std::getenv(kPasswordVariable)) return std::string(fromEnvironment);
    return platform::ReadPasswordFromTerminal("Password: ");
  };
}

}  // namespace cli
