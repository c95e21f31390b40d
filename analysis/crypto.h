// The few cryptographic primitives that encrypted files need, all taken from OpenSSL's
// libcrypto: digests, RC4, AES without padding and base64. Nothing here knows the file format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/byte_view.h"

namespace analysis::crypto {

using Bytes = std::vector<uint8_t>;

enum class Hash { Md5, Sha1, Sha256, Sha384, Sha512 };
enum class AesMode { Ecb, Cbc };

// The digest of the parts laid end to end.
Bytes Digest(Hash hash, std::initializer_list<support::ByteView> parts);
size_t DigestSize(Hash hash);

// XORs the RC4 keystream of key onto data in place; false when libcrypto refuses the key.
bool Rc4(support::ByteView key, uint8_t* data, size_t length);

// Decrypts the whole 16-byte blocks of data in place (a shorter tail stays as it is); the key
// is 16, 24 or 32 bytes, the IV (CBC only) 16. False when libcrypto refuses.
bool AesDecrypt(AesMode mode, support::ByteView key, support::ByteView iv, uint8_t* data, size_t length);

// Decodes base64 text (whitespace ignored); false on a character outside the alphabet.
bool Base64Decode(const std::string& text, Bytes& out);

// UTF-8 text as UTF-16LE bytes (an invalid byte becomes U+FFFD).
Bytes Utf16Le(const std::string& utf8);

}  // namespace analysis::crypto
