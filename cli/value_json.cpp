// Typed values as JSON, and the objects saved beside them.
#include "cli/value_json.h"

#include <openssl/evp.h>

#include <cerrno>
#include <cstdio>

#include "platform/file_system.h"
#include "records/value_text.h"

namespace cli {

namespace {
constexpr int kMaxNumber = 1000000;  // names tried before giving up on a full folder

// Creates path only when nothing is there ("x": never opens an existing file); false otherwise.
bool writeNewFile(const std::string& path, const uint8_t* data, size_t size, bool& exists) {
  std::FILE* file = std::fopen(path.c_str(), "wbx");
  exists = file == nullptr && errno == EEXIST;
  if (file == nullptr) return false;
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}
}  // namespace

std::string ObjectSaver::save(const support::Value& value) {
  const bool ole = value.kind == support::ValueKind::kLongBinary;
  const uint8_t* data = value.bytes.data() + (ole ? value.object.innerOffset : 0);
  const size_t size = ole ? value.object.innerLength : value.bytes.size();
  const std::string suffix = ole ? "." + value.object.extension : ".bin";
  for (; next_ <= kMaxNumber; ++next_) {
    const std::string path = platform::JoinPath(folder_, (ole ? "Ole" : "Binary") + std::to_string(next_) + suffix);
    bool exists = false;
    if (writeNewFile(path, data, size, exists)) {
      ++next_;
      return path;
    }
    if (!exists) return {};
  }
  return {};
}

std::string Sha256Hex(const std::vector<uint8_t>& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) return {};
  std::string hex;
  records::AppendHexText(digest, length, hex);
  return hex;
}

nlohmann::json ValueJson(const analysis::Column& column, const support::Value& value, ObjectSaver* saver) {
  switch (value.kind) {
    case support::ValueKind::kNull: return nullptr;
    case support::ValueKind::kText: return value.text;
    case support::ValueKind::kBinary:
    case support::ValueKind::kLongBinary: {
      if (!records::HasValueForm(column.type)) break;  // no binary data: the type's name
      nlohmann::json object = {{"bytes", value.bytes.size()}, {"sha256", Sha256Hex(value.bytes)}};
      if (saver) object["file"] = saver->save(value);
      return object;
    }
    default: break;
  }
  std::string text;
  records::AppendLosslessText(column, value, text);
  return text;
}

}  // namespace cli
