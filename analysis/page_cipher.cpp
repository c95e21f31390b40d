// The page ciphers of Jet 4 RC4, CryptoAPI RC4, CryptoAPI AES and Agile AES, and the password
// checks that make them.
#include "analysis/page_cipher.h"

#include <algorithm>
#include <array>

#include "analysis/crypto.h"

namespace analysis {

namespace {
using crypto::Bytes;
using support::ByteView;

std::array<uint8_t, 4> blockKey(uint32_t encodingKey, uint32_t pageNumber) {
  const uint32_t value = encodingKey ^ pageNumber;
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 24)};
}

ByteView view(const std::array<uint8_t, 4>& bytes) {
  return ByteView(bytes.data(), bytes.size());
}

// Cut to length, or lengthened with the filler byte.
Bytes fitted(Bytes bytes, size_t length, uint8_t filler) {
  bytes.resize(length, filler);
  return bytes;
}

class JetRc4Cipher : public PageCipher {
 public:
  explicit JetRc4Cipher(uint32_t encodingKey) : encodingKey_(encodingKey) {}
  void decryptPage(uint32_t pageNumber, uint8_t* bytes, size_t length) const override {
    if (pageNumber == 0) return;
    crypto::Rc4(view(blockKey(encodingKey_, pageNumber)), bytes, length);
  }

 private:
  uint32_t encodingKey_;
};

// What both CryptoAPI ciphers make their page keys from: the password hash H0 and the key size.
class CryptoApiCipher : public PageCipher {
 public:
  CryptoApiCipher(uint32_t encodingKey, Bytes h0, uint32_t keyBits)
      : encodingKey_(encodingKey), h0_(std::move(h0)), keyBits_(keyBits) {}

 protected:
  uint32_t encodingKey_;
  Bytes h0_;
  uint32_t keyBits_;
};

// CryptoAPI RC4: key = SHA-1(H0 + block)[0, keyBits/8); a 40-bit key is used inside a
// 128-bit one (eleven zero bytes after it), as CryptoAPI does.
class CryptoApiRc4Cipher : public CryptoApiCipher {
 public:
  using CryptoApiCipher::CryptoApiCipher;
  Bytes key(ByteView block) const {
    Bytes key = fitted(crypto::Digest(crypto::Hash::Sha1, {h0_, block}), keyBits_ / 8, 0);
    if (keyBits_ == 40) key.resize(16, 0);
    return key;
  }
  void decryptPage(uint32_t pageNumber, uint8_t* bytes, size_t length) const override {
    if (pageNumber == 0) return;
    crypto::Rc4(key(view(blockKey(encodingKey_, pageNumber))), bytes, length);
  }
};

// CryptoAPI AES (CryptDeriveKey): X1 and X2 from the hash XORed onto 64 bytes of 0x36 and 0x5C.
class CryptoApiAesCipher : public CryptoApiCipher {
 public:
  using CryptoApiCipher::CryptoApiCipher;
  Bytes key(ByteView block) const {
    const Bytes hash = crypto::Digest(crypto::Hash::Sha1, {h0_, block});
    Bytes inner(64, 0x36), outer(64, 0x5C);
    for (size_t i = 0; i < hash.size() && i < 64; ++i) {
      inner[i] ^= hash[i];
      outer[i] ^= hash[i];
    }
    Bytes key = crypto::Digest(crypto::Hash::Sha1, {inner});
    const Bytes second = crypto::Digest(crypto::Hash::Sha1, {outer});
    key.insert(key.end(), second.begin(), second.end());
    return fitted(std::move(key), keyBits_ / 8, 0);
  }
  void decryptPage(uint32_t pageNumber, uint8_t* bytes, size_t length) const override {
    if (pageNumber == 0) return;
    crypto::AesDecrypt(crypto::AesMode::Ecb, key(view(blockKey(encodingKey_, pageNumber))), {}, bytes, length);
  }
};

class AgileCipher : public PageCipher {
 public:
  AgileCipher(uint32_t encodingKey, const AgileKeyParameters& keyData, Bytes key)
      : encodingKey_(encodingKey), keyData_(keyData), key_(std::move(key)) {}
  void decryptPage(uint32_t pageNumber, uint8_t* bytes, size_t length) const override {
    if (pageNumber == 0) return;
    const Bytes iv = fitted(crypto::Digest(hashOf(keyData_), {keyData_.salt, view(blockKey(encodingKey_, pageNumber))}),
                            keyData_.blockSize, 0x36);
    crypto::AesDecrypt(crypto::AesMode::Cbc, key_, iv, bytes, length);
  }
  static crypto::Hash hashOf(const AgileKeyParameters& key) {
    if (key.hashAlgorithm == "SHA1") return crypto::Hash::Sha1;
    if (key.hashAlgorithm == "SHA256") return crypto::Hash::Sha256;
    if (key.hashAlgorithm == "SHA384") return crypto::Hash::Sha384;
    if (key.hashAlgorithm == "MD5") return crypto::Hash::Md5;
    return crypto::Hash::Sha512;
  }

 private:
  uint32_t encodingKey_;
  AgileKeyParameters keyData_;
  Bytes key_;
};

Bytes sha1PasswordHash(const CryptoApiInfo& info, const Bytes& password, int rounds) {
  Bytes hash = crypto::Digest(crypto::Hash::Sha1, {info.salt, password});
  for (int i = 0; i < rounds; ++i) {
    const std::array<uint8_t, 4> counter = blockKey(0, static_cast<uint32_t>(i));
    hash = crypto::Digest(crypto::Hash::Sha1, {view(counter), hash});
  }
  return hash;
}

bool hashMatches(const Bytes& verifier, ByteView expected, uint32_t size) {
  const Bytes hash = crypto::Digest(crypto::Hash::Sha1, {verifier});
  return size <= hash.size() && size <= expected.size() &&
         std::equal(hash.begin(), hash.begin() + size, expected.data());
}

UnlockResult cryptoApiRc4(const EncryptionHeader& header, const Bytes& password) {
  const CryptoApiInfo& info = header.cryptoApi;
  auto cipher =
      std::make_shared<CryptoApiRc4Cipher>(header.encodingKey, sha1PasswordHash(info, password, 0), info.keyBits);
  // One RC4 stream runs over the verifier and then its hash.
  Bytes stream = info.encryptedVerifier;
  stream.insert(stream.end(), info.encryptedVerifierHash.begin(), info.encryptedVerifierHash.end());
  crypto::Rc4(cipher->key(view(blockKey(0, 0))), stream.data(), stream.size());
  const Bytes verifier(stream.begin(), stream.begin() + 16);
  if (!hashMatches(verifier, ByteView(stream).from(16), info.verifierHashSize))
    return {UnlockStatus::WrongPassword, {}};
  return {UnlockStatus::Unlocked, cipher};
}

UnlockResult cryptoApiAes(const EncryptionHeader& header, const Bytes& password, int rounds) {
  const CryptoApiInfo& info = header.cryptoApi;
  auto cipher =
      std::make_shared<CryptoApiAesCipher>(header.encodingKey, sha1PasswordHash(info, password, rounds), info.keyBits);
  const Bytes key = cipher->key(view(blockKey(0, 0)));
  Bytes verifier = info.encryptedVerifier;
  Bytes hash = info.encryptedVerifierHash;
  if (!crypto::AesDecrypt(crypto::AesMode::Ecb, key, {}, verifier.data(), verifier.size()) ||
      !crypto::AesDecrypt(crypto::AesMode::Ecb, key, {}, hash.data(), hash.size()) ||
      !hashMatches(verifier, hash, std::min<uint32_t>(info.verifierHashSize, 20)))
    return {UnlockStatus::WrongPassword, {}};
  return {UnlockStatus::Unlocked, cipher};
}

UnlockResult agile(const EncryptionHeader& header, const Bytes& password) {
  const AgileInfo& info = header.agile;
  const AgileKeyParameters& passwordKey = info.passwordKey;
  const crypto::Hash hash = AgileCipher::hashOf(passwordKey);
  Bytes spun = crypto::Digest(hash, {passwordKey.salt, password});
  for (uint32_t i = 0; i < info.spinCount; ++i) {
    const std::array<uint8_t, 4> counter = blockKey(0, i);
    spun = crypto::Digest(hash, {view(counter), spun});
  }
  const Bytes iv = fitted(passwordKey.salt, passwordKey.blockSize, 0x36);
  auto decrypt = [&](std::array<uint8_t, 8> block, Bytes data) {
    const Bytes key =
        fitted(crypto::Digest(hash, {spun, ByteView(block.data(), block.size())}), passwordKey.keyBits / 8, 0x36);
    if (!crypto::AesDecrypt(crypto::AesMode::Cbc, key, iv, data.data(), data.size())) data.clear();
    return data;
  };
  const Bytes input = decrypt({0xfe, 0xa7, 0xd2, 0x76, 0x3b, 0x4b, 0x9e, 0x79}, info.encryptedVerifierHashInput);
  const Bytes value = decrypt({0xd7, 0xaa, 0x0f, 0x6d, 0x30, 0x61, 0x34, 0x4e}, info.encryptedVerifierHashValue);
  const size_t inputSize = std::min<size_t>(input.size(), passwordKey.saltSize);
  const Bytes expected = crypto::Digest(hash, {ByteView(input.data(), inputSize)});
  if (expected.empty() || value.size() < expected.size() ||
      !std::equal(expected.begin(), expected.end(), value.begin()))
    return {UnlockStatus::WrongPassword, {}};
  Bytes key = decrypt({0x14, 0x6e, 0x0b, 0xe7, 0xab, 0xac, 0xd0, 0xd6}, info.encryptedKeyValue);
  if (key.size() < info.keyData.keyBits / 8) return {UnlockStatus::WrongPassword, {}};
  key.resize(info.keyData.keyBits / 8);
  return {UnlockStatus::Unlocked, std::make_shared<AgileCipher>(header.encodingKey, info.keyData, std::move(key))};
}

// CryptoAPI and Agile passwords are at most 255 UTF-16 characters.
constexpr size_t kMaxPasswordBytes = 510;
constexpr int kStandardAesRounds = 50000;
}  // namespace

UnlockResult UnlockPages(const EncryptionHeader& header, const std::optional<std::string>& password) {
  switch (header.kind) {
    case EncryptionKind::None: return {UnlockStatus::Plain, {}};
    case EncryptionKind::JetRc4: return {UnlockStatus::Unlocked, std::make_shared<JetRc4Cipher>(header.encodingKey)};
    case EncryptionKind::Unsupported: return {UnlockStatus::Unsupported, {}};
    default: break;
  }
  if (!password) return {UnlockStatus::PasswordNeeded, {}};
  Bytes utf16 = crypto::Utf16Le(*password);
  if (utf16.size() > kMaxPasswordBytes) return {UnlockStatus::WrongPassword, {}};
  switch (header.kind) {
    case EncryptionKind::CryptoApiRc4: return cryptoApiRc4(header, utf16);
    case EncryptionKind::CryptoApiAes: return cryptoApiAes(header, utf16, 0);
    case EncryptionKind::StandardAes: return cryptoApiAes(header, utf16, kStandardAesRounds);
    default: return agile(header, utf16);
  }
}

}  // namespace analysis
