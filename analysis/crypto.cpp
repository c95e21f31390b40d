// libcrypto behind the small interface of crypto.h.
#include "analysis/crypto.h"

// RC4 lives only in the legacy provider of OpenSSL 3's EVP layer; its direct functions are
// deprecated but present, and need no provider module at run time.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/evp.h>
#include <openssl/rc4.h>

#include <memory>

namespace analysis::crypto {

namespace {
const EVP_MD* digestOf(Hash hash) {
  switch (hash) {
    case Hash::Md5: return EVP_md5();
    case Hash::Sha1: return EVP_sha1();
    case Hash::Sha256: return EVP_sha256();
    case Hash::Sha384: return EVP_sha384();
    case Hash::Sha512: return EVP_sha512();
  }
  return EVP_sha1();
}

const EVP_CIPHER* aesOf(AesMode mode, size_t keyLength) {
  const bool cbc = mode == AesMode::Cbc;
  switch (keyLength) {
    case 16: return cbc ? EVP_aes_128_cbc() : EVP_aes_128_ecb();
    case 24: return cbc ? EVP_aes_192_cbc() : EVP_aes_192_ecb();
    case 32: return cbc ? EVP_aes_256_cbc() : EVP_aes_256_ecb();
    default: return nullptr;
  }
}

using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;
}  // namespace

size_t DigestSize(Hash hash) {
  return static_cast<size_t>(EVP_MD_get_size(digestOf(hash)));
}

Bytes Digest(Hash hash, std::initializer_list<support::ByteView> parts) {
  DigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  Bytes out(EVP_MAX_MD_SIZE);
  unsigned int size = 0;
  if (!context || EVP_DigestInit_ex(context.get(), digestOf(hash), nullptr) != 1) return {};
  for (const auto& part : parts)
    if (!part.empty() && EVP_DigestUpdate(context.get(), part.data(), part.size()) != 1) return {};
  if (EVP_DigestFinal_ex(context.get(), out.data(), &size) != 1) return {};
  out.resize(size);
  return out;
}

bool Rc4(support::ByteView key, uint8_t* data, size_t length) {
  if (key.empty() || key.size() > 256) return false;
  RC4_KEY schedule;
  RC4_set_key(&schedule, static_cast<int>(key.size()), key.data());
  RC4(&schedule, length, data, data);
  return true;
}

bool AesDecrypt(AesMode mode, support::ByteView key, support::ByteView iv, uint8_t* data, size_t length) {
  const EVP_CIPHER* cipher = aesOf(mode, key.size());
  if (cipher == nullptr || (mode == AesMode::Cbc && iv.size() != 16)) return false;
  const size_t whole = length - length % 16;
  if (whole == 0) return true;
  CipherContext context(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
  if (!context ||
      EVP_DecryptInit_ex(context.get(), cipher, nullptr, key.data(), mode == AesMode::Cbc ? iv.data() : nullptr) != 1)
    return false;
  EVP_CIPHER_CTX_set_padding(context.get(), 0);
  // Whole blocks without padding: the output never outgrows the input, so it may overwrite it.
  int written = 0;
  if (EVP_DecryptUpdate(context.get(), data, &written, data, static_cast<int>(whole)) != 1) return false;
  int tail = 0;
  return EVP_DecryptFinal_ex(context.get(), data + written, &tail) == 1;
}

bool Base64Decode(const std::string& text, Bytes& out) {
  std::string compact;
  for (char c : text)
    if (c != ' ' && c != '\n' && c != '\r' && c != '\t') compact.push_back(c);
  out.clear();
  if (compact.empty()) return true;
  if (compact.size() % 4 != 0) return false;
  out.resize(compact.size() / 4 * 3);
  const int decoded = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(compact.data()),
                                      static_cast<int>(compact.size()));
  if (decoded < 0) return false;
  size_t padding = 0;
  while (padding < 2 && compact[compact.size() - 1 - padding] == '=') ++padding;
  out.resize(static_cast<size_t>(decoded) - padding);
  return true;
}

Bytes Utf16Le(const std::string& utf8) {
  Bytes out;
  auto put = [&out](uint32_t unit) {
    out.push_back(static_cast<uint8_t>(unit & 0xFF));
    out.push_back(static_cast<uint8_t>(unit >> 8));
  };
  for (size_t i = 0; i < utf8.size();) {
    const uint8_t lead = static_cast<uint8_t>(utf8[i]);
    const size_t length = lead < 0x80           ? 1
                          : (lead >> 5) == 0x6  ? 2
                          : (lead >> 4) == 0xE  ? 3
                          : (lead >> 3) == 0x1E ? 4
                                                : 0;
    uint32_t codePoint = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length != 0 && i + length <= utf8.size();
    for (size_t k = 1; valid && k < length; ++k) {
      const uint8_t next = static_cast<uint8_t>(utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (!valid) {
      put(0xFFFD);
      ++i;
      continue;
    }
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      put(0xD800 + (codePoint >> 10));
      put(0xDC00 + (codePoint & 0x3FF));
    } else {
      put(codePoint);
    }
    i += length;
  }
  return out;
}

}  // namespace analysis::crypto
