// Page 0's encryption fields: which kind each header is, that a damaged or hostile header ends
// in a clean result, and what each kind needs to be unlocked.
#include "analysis/encryption_header.h"

#include <gtest/gtest.h>

#include <cstring>

#include "analysis/crypto.h"
#include "analysis/page_cipher.h"
#include "jet4/header_page.h"

namespace analysis {
namespace {

constexpr size_t kInfoLengthOffset = 0x299;
constexpr size_t kInfoOffset = 0x29B;

// A real header page (masked region included) with the version byte, engine name and
// encoding key set; info, when given, is stored at 0x299 with its length.
std::vector<uint8_t> headerPage(uint8_t version, uint32_t key, const std::vector<uint8_t>& info = {}) {
  const auto built = jet4::BuildHeaderPage(jet4::HeaderSettings{});
  std::vector<uint8_t> page(built.begin(), built.end());
  if (version >= 2) std::memcpy(page.data() + 4, "Standard ACE DB", 15);
  page[0x14] = version;
  for (int i = 0; i < 4; ++i) page[0x3E + i] ^= static_cast<uint8_t>(key >> (8 * i));
  page[kInfoLengthOffset] = static_cast<uint8_t>(info.size());
  page[kInfoLengthOffset + 1] = static_cast<uint8_t>(info.size() >> 8);
  std::copy(info.begin(), info.end(), page.begin() + kInfoOffset);
  return page;
}

void putU32(std::vector<uint8_t>& bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// EncryptionInfo 4.2 with a CryptoAPI header (provider "Base") and a verifier of hashSize bytes.
std::vector<uint8_t> cryptoApiInfo(uint32_t flags, uint32_t algId, uint32_t keyBits, size_t hashSize = 20) {
  std::vector<uint8_t> info = {4, 0, 2, 0};
  putU32(info, flags);
  const std::string provider = "Base";
  putU32(info, 32 + static_cast<uint32_t>(provider.size() + 1) * 2);
  for (uint32_t field : {flags, 0u, algId, 0x8004u, keyBits, 1u, 0u, 0u}) putU32(info, field);
  for (char c : provider) info.insert(info.end(), {static_cast<uint8_t>(c), 0});
  info.insert(info.end(), {0, 0});
  putU32(info, 16);
  info.insert(info.end(), 32, 0x11);  // salt, encrypted verifier
  putU32(info, 20);
  info.insert(info.end(), hashSize, 0x22);
  return info;
}

std::string keyElement(const std::string& name, const std::string& extra, const std::string& hash = "SHA512",
                       const std::string& keyBits = "256") {
  return "<" + name + " saltSize=\"16\" blockSize=\"16\" keyBits=\"" + keyBits +
         "\" hashSize=\"64\" cipherAlgorithm=\"AES\" cipherChaining=\"ChainingModeCBC\" hashAlgorithm=\"" + hash +
         "\" saltValue=\"AAECAwQFBgcICQoLDA0ODw==\"" + extra + "/>";
}

// EncryptionInfo 4.4 around an XML descriptor.
std::vector<uint8_t> agileInfo(const std::string& spinCount = "1", const std::string& hash = "SHA512",
                               const std::string& keyBits = "256") {
  const std::string b64 = "AAECAwQFBgcICQoLDA0ODw==";  // bytes 0 to 15
  const std::string b64of32 = "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8=";
  const std::string b64of64 =
      "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7PD0+Pw==";
  const std::string xml =
      "<?xml version=\"1.0\"?><encryption xmlns=\"x\">" + keyElement("keyData", "", hash, keyBits) +
      "<keyEncryptors><keyEncryptor uri=\"password\">" +
      keyElement("p:encryptedKey",
                 " spinCount=\"" + spinCount + "\" encryptedVerifierHashInput=\"" + b64 +
                     "\" encryptedVerifierHashValue=\"" + b64of64 + "\" encryptedKeyValue=\"" + b64of32 + "\"",
                 hash, keyBits) +
      "</keyEncryptor></keyEncryptors></encryption>";
  std::vector<uint8_t> info = {4, 0, 4, 0, 0x40, 0, 0, 0};
  info.insert(info.end(), xml.begin(), xml.end());
  return info;
}

struct KindCase {
  const char* name;
  std::vector<uint8_t> page;
  EncryptionKind kind;
};

TEST(EncryptionHeaderTest, EachHeaderIsTheKindItSays) {
  const uint32_t key = 0xA1F327E1;
  std::vector<uint8_t> notHeader = headerPage(1, key);
  notHeader[4] = 'X';
  const KindCase cases[] = {
      {"Jet 4 without a key", headerPage(1, 0), EncryptionKind::None},
      {"ACE without a key", headerPage(3, 0, agileInfo()), EncryptionKind::None},
      {"Jet 4 with a key", headerPage(1, key), EncryptionKind::JetRc4},
      {"2048-byte pages", headerPage(0, key), EncryptionKind::None},
      {"not a header page", notHeader, EncryptionKind::None},
      {"CryptoAPI RC4 40 bits", headerPage(2, key, cryptoApiInfo(0x04, 0x6801, 40)), EncryptionKind::CryptoApiRc4},
      {"CryptoAPI RC4 default size", headerPage(2, key, cryptoApiInfo(0x04, 0x6801, 0)), EncryptionKind::CryptoApiRc4},
      {"CryptoAPI AES without fAES", headerPage(3, key, cryptoApiInfo(0x0C, 0x6610, 256, 32)),
       EncryptionKind::CryptoApiAes},
      {"standard AES", headerPage(3, key, cryptoApiInfo(0x24, 0x660E, 128, 32)), EncryptionKind::StandardAes},
      {"Agile", headerPage(3, key, agileInfo()), EncryptionKind::Agile},
      {"Agile SHA-1 AES-128", headerPage(3, key, agileInfo("1", "SHA1", "128")), EncryptionKind::Agile},
      {"Agile unknown hash", headerPage(3, key, agileInfo("1", "WHIRLPOOL")), EncryptionKind::Unsupported},
      {"Agile odd key size", headerPage(3, key, agileInfo("1", "SHA512", "100")), EncryptionKind::Unsupported},
      {"Agile spin count too high", headerPage(3, key, agileInfo("10000001")), EncryptionKind::Unsupported},
      {"Agile spin count not a number", headerPage(3, key, agileInfo("9x")), EncryptionKind::Unsupported},
      {"RC4 with the AES flag", headerPage(2, key, cryptoApiInfo(0x24, 0x6801, 40)), EncryptionKind::Unsupported},
      {"no CryptoAPI flag", headerPage(2, key, cryptoApiInfo(0x00, 0x6801, 40)), EncryptionKind::Unsupported},
      {"unknown cipher", headerPage(2, key, cryptoApiInfo(0x04, 0x6602, 128)), EncryptionKind::Unsupported},
      {"AES size against its algorithm", headerPage(2, key, cryptoApiInfo(0x04, 0x6610, 128, 32)),
       EncryptionKind::Unsupported},
      {"no EncryptionInfo", headerPage(3, key), EncryptionKind::Unsupported},
  };
  for (const auto& c : cases) {
    const EncryptionHeader header = ParseEncryptionHeader(support::ByteView(c.page));
    EXPECT_EQ(header.kind, c.kind) << c.name << " (" << header.problem << ")";
    if (c.kind != EncryptionKind::None) {
      EXPECT_EQ(header.encodingKey, key) << c.name;
    }
  }
}

TEST(EncryptionHeaderTest, ParsedFieldsComeFromTheirPlaces) {
  const auto rc4 = ParseEncryptionHeader(support::ByteView(headerPage(2, 7, cryptoApiInfo(0x04, 0x6801, 0))));
  EXPECT_EQ(rc4.cryptoApi.keyBits, 40u);  // a stored 0 with the base provider
  EXPECT_EQ(rc4.cryptoApi.salt, std::vector<uint8_t>(16, 0x11));
  EXPECT_EQ(rc4.cryptoApi.verifierHashSize, 20u);
  EXPECT_EQ(rc4.cryptoApi.encryptedVerifierHash, std::vector<uint8_t>(20, 0x22));

  const auto agile = ParseEncryptionHeader(support::ByteView(headerPage(3, 7, agileInfo("100000"))));
  ASSERT_EQ(agile.kind, EncryptionKind::Agile);
  EXPECT_EQ(agile.agile.spinCount, 100000u);
  EXPECT_EQ(agile.agile.keyData.keyBits, 256u);
  EXPECT_EQ(agile.agile.passwordKey.salt.size(), 16u);
  EXPECT_EQ(agile.agile.passwordKey.salt[15], 15);
  EXPECT_EQ(agile.agile.encryptedVerifierHashValue.size(), 64u);
  EXPECT_EQ(agile.agile.encryptedKeyValue.size(), 32u);
}

// Every truncation and every length of the stored info must end in a clean result.
TEST(EncryptionHeaderTest, CorruptHeadersEndCleanly) {
  for (const auto& info : {cryptoApiInfo(0x04, 0x6801, 40), agileInfo()}) {
    const std::vector<uint8_t> page = headerPage(3, 1, info);
    for (size_t length = 0; length <= kInfoOffset + info.size(); ++length)
      ParseEncryptionHeader(support::ByteView(page.data(), length));
    for (uint32_t stored : {0u, 1u, 7u, static_cast<uint32_t>(info.size() - 1), 0xFFFFu}) {
      std::vector<uint8_t> lying = page;
      lying[kInfoLengthOffset] = static_cast<uint8_t>(stored);
      lying[kInfoLengthOffset + 1] = static_cast<uint8_t>(stored >> 8);
      const auto header = ParseEncryptionHeader(support::ByteView(lying));
      EXPECT_NE(header.kind, EncryptionKind::None) << stored;
    }
  }
  std::vector<uint8_t> hugeHeaderSize = headerPage(2, 1, cryptoApiInfo(0x04, 0x6801, 40));
  hugeHeaderSize[kInfoOffset + 8] = 0xFF;
  hugeHeaderSize[kInfoOffset + 11] = 0xFF;
  EXPECT_EQ(ParseEncryptionHeader(support::ByteView(hugeHeaderSize)).kind, EncryptionKind::Unsupported);
  std::vector<uint8_t> badBase64 = headerPage(3, 1, agileInfo());
  const std::string text(badBase64.begin(), badBase64.end());
  badBase64[text.find("saltValue=\"") + 11] = '*';
  EXPECT_EQ(ParseEncryptionHeader(support::ByteView(badBase64)).kind, EncryptionKind::Unsupported);
}

TEST(PageCipherTest, WhatEachKindNeedsToUnlock) {
  struct Case {
    const char* name;
    std::vector<uint8_t> page;
    std::optional<std::string> password;
    UnlockStatus status;
  };
  const Case cases[] = {
      {"plain", headerPage(1, 0), "ignored", UnlockStatus::Plain},
      {"Jet 4 RC4 needs no password", headerPage(1, 5), std::nullopt, UnlockStatus::Unlocked},
      {"CryptoAPI without a password", headerPage(2, 5, cryptoApiInfo(0x04, 0x6801, 40)), std::nullopt,
       UnlockStatus::PasswordNeeded},
      {"CryptoAPI RC4 wrong", headerPage(2, 5, cryptoApiInfo(0x04, 0x6801, 128)), "x", UnlockStatus::WrongPassword},
      {"CryptoAPI AES wrong", headerPage(2, 5, cryptoApiInfo(0x0C, 0x6610, 256, 32)), "x", UnlockStatus::WrongPassword},
      {"Agile without a password", headerPage(3, 5, agileInfo()), std::nullopt, UnlockStatus::PasswordNeeded},
      {"Agile wrong", headerPage(3, 5, agileInfo()), "", UnlockStatus::WrongPassword},
      {"Agile overlong password", headerPage(3, 5, agileInfo()), std::string(256, 'a'), UnlockStatus::WrongPassword},
      {"unsupported", headerPage(3, 5), "x", UnlockStatus::Unsupported},
  };
  for (const auto& c : cases) {
    const UnlockResult result = UnlockPages(ParseEncryptionHeader(support::ByteView(c.page)), c.password);
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_EQ(result.cipher != nullptr, c.status == UnlockStatus::Unlocked) << c.name;
  }
}

TEST(CryptoTest, Utf16AndBase64) {
  EXPECT_EQ(crypto::Utf16Le("Aé€😀"), (crypto::Bytes{0x41, 0, 0xE9, 0, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE}));
  EXPECT_EQ(crypto::Utf16Le("\xC3"), (crypto::Bytes{0xFD, 0xFF}));
  crypto::Bytes out;
  EXPECT_TRUE(crypto::Base64Decode("AAEC\nAw==", out));
  EXPECT_EQ(out, (crypto::Bytes{0, 1, 2, 3}));
  EXPECT_FALSE(crypto::Base64Decode("AAE", out));
  EXPECT_FALSE(crypto::Base64Decode("A*EC", out));
}

}  // namespace
}  // namespace analysis
