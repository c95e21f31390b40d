// What page 0 says about the encryption of the other pages. Parsing only: no key is made here.
//
//  page 0 offset | size | field
//  --------------+------+-----------------------------------------------------------------
//   0            | 4    | 00 01 00 00 (header page)
//   4            | 16   | engine name, "Standard Jet DB" or "Standard ACE DB"
//   14           | 1    | version: 1 Jet 4, 2 and later ACE
//   18           | 128  | masked region (RC4 keystream of the fixed header key, XORed on)
//   3E (masked)  | 4    | encoding key; 0 = the pages are plain
//   299          | 2    | ACE: length n of the EncryptionInfo that follows
//   29B          | n    | ACE: EncryptionInfo, u16 major, u16 minor version, then per kind
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/byte_view.h"

namespace analysis {

enum class EncryptionKind {
  None,          // plain pages (a database password alone does not encrypt them)
  JetRc4,        // Jet 4: RC4 keyed with the encoding key and the page number, no password
  CryptoApiRc4,  // ACE: RC4 with a key from SHA-1 of salt and password
  CryptoApiAes,  // ACE: AES-ECB with CryptoAPI key derivation, fAES flag clear
  StandardAes,   // ACE: as CryptoApiAes with 50000 rounds of hashing (fAES flag set)
  Agile,         // ACE: XML-described keys, AES-CBC pages
  Unsupported,   // ACE, encrypted in a way this reader cannot open; problem says which
};

// Key derivation parameters of one Agile key (keyData or the password key encryptor).
struct AgileKeyParameters {
  uint32_t saltSize = 0;
  uint32_t blockSize = 0;
  uint32_t keyBits = 0;
  uint32_t hashSize = 0;
  std::string cipherAlgorithm;
  std::string cipherChaining;
  std::string hashAlgorithm;
  std::vector<uint8_t> salt;
};

struct AgileInfo {
  AgileKeyParameters keyData;
  AgileKeyParameters passwordKey;
  uint32_t spinCount = 0;
  std::vector<uint8_t> encryptedVerifierHashInput;
  std::vector<uint8_t> encryptedVerifierHashValue;
  std::vector<uint8_t> encryptedKeyValue;
};

// EncryptionInfo versions 2.2 to 4.2 (CryptoAPI header and verifier).
struct CryptoApiInfo {
  uint32_t flags = 0;
  uint32_t algId = 0;
  uint32_t algIdHash = 0;
  uint32_t keyBits = 0;  // never 0: a stored 0 is replaced by the provider's default
  std::vector<uint8_t> salt;
  std::vector<uint8_t> encryptedVerifier;
  uint32_t verifierHashSize = 0;
  std::vector<uint8_t> encryptedVerifierHash;
};

struct EncryptionHeader {
  EncryptionKind kind = EncryptionKind::None;
  uint32_t encodingKey = 0;
  std::string problem;  // Unsupported: what is wrong or not handled
  CryptoApiInfo cryptoApi;
  AgileInfo agile;
};

// Bounds of the Agile spin count: more than this is not a valid file (and would hang us).
constexpr uint32_t kMaxSpinCount = 10000000;

// Reads page 0 as stored in the file (still masked). A page that is not a Jet/ACE header page
// yields None, so damaged files keep going to the signature search.
EncryptionHeader ParseEncryptionHeader(support::ByteView page0);

// True when a password is needed to read the pages.
bool NeedsPassword(EncryptionKind kind);

}  // namespace analysis
