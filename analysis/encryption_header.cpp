// Parsing page 0's encryption fields and the Office EncryptionInfo they point to.
#include "analysis/encryption_header.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "analysis/crypto.h"

namespace analysis {

namespace {
constexpr int64_t kMaskedStart = 0x18;
constexpr size_t kMaskedLength = 128;
constexpr int64_t kVersionOffset = 0x14;
constexpr int64_t kEncodingKeyOffset = 0x3E;
constexpr int64_t kInfoLengthOffset = 0x299;
constexpr int64_t kInfoOffset = 0x29B;

// EncryptionInfo of versions 2.2 to 4.2 (offsets inside the info):
//   0 u16 major, 2 u16 minor, 4 u32 flags, 8 u32 header size h,
//   12 header: 0 flags, 4 size extra, 8 AlgID, 12 AlgIDHash, 16 key size in bits, 20 provider
//      type, 24 and 28 reserved, 32 provider name (UTF-16, NUL-terminated) to the header's end,
//   12 + h verifier: 0 u32 salt size (16), 4 salt, 20 encrypted verifier (16), 36 u32 verifier
//      hash size, 40 encrypted verifier hash (20 for RC4, 32 for AES) to the info's end.
constexpr uint32_t kFlagCryptoApi = 0x04;
constexpr uint32_t kFlagAes = 0x20;
constexpr uint32_t kAlgRc4 = 0x6801;
constexpr uint32_t kAlgAes128 = 0x660E;
constexpr uint32_t kAlgAes192 = 0x660F;
constexpr uint32_t kAlgAes256 = 0x6610;
constexpr uint32_t kAlgSha1 = 0x8004;
constexpr uint32_t kCryptoApiHeaderFixed = 32;
constexpr uint32_t kVerifierSaltSize = 16;

bool isHeaderPage(support::ByteView page) {
  if (page.u32(0) != 0x00000100) return false;
  const support::ByteView name = page.slice(4, 15);
  return name.size() == 15 &&
         (std::memcmp(name.data(), "Standard Jet DB", 15) == 0 || std::memcmp(name.data(), "Standard ACE DB", 15) == 0);
}

uint32_t unmaskedEncodingKey(support::ByteView page) {
  std::array<uint8_t, kMaskedLength> mask{};
  const uint8_t headerKey[] = {0xC7, 0xDA, 0x39, 0x6B};
  if (!crypto::Rc4(support::ByteView(headerKey, sizeof headerKey), mask.data(), mask.size())) return 0;
  uint32_t key = 0;
  for (int i = 3; i >= 0; --i) {
    const int64_t offset = kEncodingKeyOffset + i;
    key = (key << 8) | static_cast<uint8_t>(page.u8(offset) ^ mask[static_cast<size_t>(offset - kMaskedStart)]);
  }
  return key;
}

EncryptionHeader unsupported(uint32_t key, std::string problem) {
  EncryptionHeader header;
  header.kind = EncryptionKind::Unsupported;
  header.encodingKey = key;
  header.problem = std::move(problem);
  return header;
}

std::vector<uint8_t> copy(support::ByteView bytes) {
  return {bytes.data(), bytes.data() + bytes.size()};
}

EncryptionHeader parseCryptoApi(support::ByteView info, uint32_t key) {
  CryptoApiInfo api;
  api.flags = info.u32(4);
  const uint32_t headerSize = info.u32(8);
  if ((api.flags & kFlagCryptoApi) == 0) return unsupported(key, "EncryptionInfo without the CryptoAPI flag");
  if (headerSize < kCryptoApiHeaderFixed || headerSize > info.size()) return unsupported(key, "bad header size");
  const support::ByteView header = info.slice(12, headerSize);
  api.algId = header.u32(8);
  api.algIdHash = header.u32(12);
  api.keyBits = header.u32(16);
  const support::ByteView provider = header.from(kCryptoApiHeaderFixed);
  const support::ByteView verifier = info.from(12 + static_cast<int64_t>(headerSize));
  if (verifier.u32(0) != kVerifierSaltSize) return unsupported(key, "bad verifier salt size");
  api.salt = copy(verifier.slice(4, kVerifierSaltSize));
  api.encryptedVerifier = copy(verifier.slice(20, 16));
  api.verifierHashSize = verifier.u32(36);
  api.encryptedVerifierHash = copy(verifier.from(40));
  if (api.salt.size() != kVerifierSaltSize || api.encryptedVerifier.size() != 16 || api.verifierHashSize == 0 ||
      api.verifierHashSize > api.encryptedVerifierHash.size())
    return unsupported(key, "truncated verifier");
  if (api.algIdHash != kAlgSha1 && api.algIdHash != 0) return unsupported(key, "hash other than SHA-1");

  EncryptionHeader result;
  result.encodingKey = key;
  if (api.algId == kAlgRc4) {
    if (api.flags & kFlagAes) return unsupported(key, "RC4 with the AES flag");
    // A stored 0 means the provider's default: 40 bits for the base provider, else 128.
    if (api.keyBits == 0) {
      bool base = provider.size() < 2 || provider.u16(0) == 0;
      for (int64_t i = 0; !base && i + 8 <= static_cast<int64_t>(provider.size()); i += 2)
        base = provider.u16(i) == 'B' && provider.u16(i + 2) == 'a' && provider.u16(i + 4) == 's' &&
               provider.u16(i + 6) == 'e';
      api.keyBits = base ? 40 : 128;
    }
    if (api.keyBits < 40 || api.keyBits > 128 || api.keyBits % 8 != 0) return unsupported(key, "bad RC4 key size");
    result.kind = EncryptionKind::CryptoApiRc4;
  } else if (api.algId == kAlgAes128 || api.algId == kAlgAes192 || api.algId == kAlgAes256) {
    const uint32_t algBits = api.algId == kAlgAes128 ? 128 : api.algId == kAlgAes192 ? 192 : 256;
    if (api.keyBits == 0) api.keyBits = algBits;
    if (api.keyBits != algBits) return unsupported(key, "AES key size differs from its algorithm");
    if (api.encryptedVerifierHash.size() < 32) return unsupported(key, "truncated verifier");
    result.kind = (api.flags & kFlagAes) ? EncryptionKind::StandardAes : EncryptionKind::CryptoApiAes;
  } else {
    return unsupported(key, "cipher algorithm " + std::to_string(api.algId));
  }
  result.cryptoApi = std::move(api);
  return result;
}

// The start tag of the first element named localName (with or without a namespace prefix).
std::optional<std::string> startTag(const std::string& xml, const std::string& localName,
                                    const std::string& neededAttribute = "") {
  for (size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
    const size_t end = xml.find('>', at);
    if (end == std::string::npos) return std::nullopt;
    size_t nameEnd = at + 1;
    while (nameEnd < end && xml[nameEnd] != ' ' && xml[nameEnd] != '/' && xml[nameEnd] != '\t' &&
           xml[nameEnd] != '\r' && xml[nameEnd] != '\n')
      ++nameEnd;
    std::string name = xml.substr(at + 1, nameEnd - at - 1);
    const size_t colon = name.find(':');
    if (colon != std::string::npos) name = name.substr(colon + 1);
    const std::string tag = xml.substr(at, end - at + 1);
    if (name == localName && (neededAttribute.empty() || tag.find(" " + neededAttribute + "=") != std::string::npos))
      return tag;
  }
  return std::nullopt;
}

std::string attribute(const std::string& tag, const std::string& name) {
  for (const char* space : {" ", "\t", "\n", "\r"}) {
    const std::string needle = std::string(space) + name + "=";
    const size_t at = tag.find(needle);
    if (at == std::string::npos) continue;
    const size_t open = at + needle.size();
    if (open >= tag.size() || (tag[open] != '"' && tag[open] != '\'')) return {};
    const size_t close = tag.find(tag[open], open + 1);
    if (close == std::string::npos) return {};
    return tag.substr(open + 1, close - open - 1);
  }
  return {};
}

std::optional<uint32_t> number(const std::string& text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(value);
}

bool readKeyParameters(const std::string& tag, AgileKeyParameters& out) {
  const auto saltSize = number(attribute(tag, "saltSize"));
  const auto blockSize = number(attribute(tag, "blockSize"));
  const auto keyBits = number(attribute(tag, "keyBits"));
  const auto hashSize = number(attribute(tag, "hashSize"));
  if (!saltSize || !blockSize || !keyBits || !hashSize) return false;
  out.saltSize = *saltSize;
  out.blockSize = *blockSize;
  out.keyBits = *keyBits;
  out.hashSize = *hashSize;
  out.cipherAlgorithm = attribute(tag, "cipherAlgorithm");
  out.cipherChaining = attribute(tag, "cipherChaining");
  out.hashAlgorithm = attribute(tag, "hashAlgorithm");
  return crypto::Base64Decode(attribute(tag, "saltValue"), out.salt) && out.salt.size() == out.saltSize &&
         !out.salt.empty();
}

// Only what this reader can decrypt: AES in CBC mode with one of the digests libcrypto offers.
std::string agileProblem(const AgileKeyParameters& key) {
  if (key.cipherAlgorithm != "AES") return "cipher " + key.cipherAlgorithm;
  if (key.cipherChaining != "ChainingModeCBC") return "chaining " + key.cipherChaining;
  if (key.keyBits != 128 && key.keyBits != 192 && key.keyBits != 256) return "key size";
  if (key.blockSize != 16) return "block size";
  for (const char* hash : {"SHA1", "SHA256", "SHA384", "SHA512", "MD5"})
    if (key.hashAlgorithm == hash) return {};
  return "hash " + key.hashAlgorithm;
}

EncryptionHeader parseAgile(support::ByteView info, uint32_t key) {
  const support::ByteView text = info.from(8);
  const std::string xml(reinterpret_cast<const char*>(text.data()), text.size());
  const auto keyDataTag = startTag(xml, "keyData");
  const auto passwordTag = startTag(xml, "encryptedKey", "spinCount");
  AgileInfo agile;
  if (!keyDataTag || !passwordTag || !readKeyParameters(*keyDataTag, agile.keyData) ||
      !readKeyParameters(*passwordTag, agile.passwordKey))
    return unsupported(key, "unreadable Agile descriptor");
  for (const auto* params : {&agile.keyData, &agile.passwordKey})
    if (std::string problem = agileProblem(*params); !problem.empty()) return unsupported(key, problem);
  const auto spinCount = number(attribute(*passwordTag, "spinCount"));
  if (!spinCount || *spinCount > kMaxSpinCount) return unsupported(key, "bad spin count");
  agile.spinCount = *spinCount;
  if (!crypto::Base64Decode(attribute(*passwordTag, "encryptedVerifierHashInput"), agile.encryptedVerifierHashInput) ||
      !crypto::Base64Decode(attribute(*passwordTag, "encryptedVerifierHashValue"), agile.encryptedVerifierHashValue) ||
      !crypto::Base64Decode(attribute(*passwordTag, "encryptedKeyValue"), agile.encryptedKeyValue) ||
      agile.encryptedVerifierHashInput.empty() || agile.encryptedVerifierHashValue.empty() ||
      agile.encryptedKeyValue.size() < agile.keyData.keyBits / 8)
    return unsupported(key, "unreadable Agile verifier");
  EncryptionHeader result;
  result.kind = EncryptionKind::Agile;
  result.encodingKey = key;
  result.agile = std::move(agile);
  return result;
}
}  // namespace

EncryptionHeader ParseEncryptionHeader(support::ByteView page0) {
  if (!isHeaderPage(page0)) return {};
  const uint32_t key = unmaskedEncodingKey(page0);
  if (key == 0) return {};
  const uint8_t version = page0.u8(kVersionOffset);
  if (version == 0) return {};  // 2048-byte pages: refused later anyway
  if (version == 1) {
    EncryptionHeader header;
    header.kind = EncryptionKind::JetRc4;
    header.encodingKey = key;
    return header;
  }
  const uint16_t length = page0.u16(kInfoLengthOffset);
  const support::ByteView info = page0.slice(kInfoOffset, length);
  if (length < 8 || info.size() != length) return unsupported(key, "no EncryptionInfo");
  const uint16_t major = info.u16(0);
  const uint16_t minor = info.u16(2);
  if (major == 4 && minor == 4) return parseAgile(info, key);
  if (major >= 2 && major <= 4 && minor == 2) return parseCryptoApi(info, key);
  return unsupported(key, "EncryptionInfo version " + std::to_string(major) + "." + std::to_string(minor));
}

bool NeedsPassword(EncryptionKind kind) {
  return kind == EncryptionKind::CryptoApiRc4 || kind == EncryptionKind::CryptoApiAes ||
         kind == EncryptionKind::StandardAes || kind == EncryptionKind::Agile;
}

}  // namespace analysis
