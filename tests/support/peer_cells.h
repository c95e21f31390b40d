// The peer reader's cell forms (expected/*.json) beside ours: where two texts are one value in
// different forms (dates, floats, NUMERIC padding, binary data), these make them comparable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

std::string HexOf(const std::vector<uint8_t>& bytes, size_t limit);
// The peer shows binary data as the hex of its first 64 bytes, then "…+N bytes".
std::string PeerBinaryForm(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> BytesOfHex(const std::string& hex);
// "MM/DD/YYYY HH:MM:SS" as "YYYY-MM-DD HH:MM:SS".
std::string IsoDate(const std::string& ours);
// NUMERIC without its padding: no leading zeros, no trailing fraction zeros.
std::string PlainDecimal(std::string text);
bool SameFloat(const std::string& ours, const std::string& theirs, bool single);
// An OLE cell: our file against the peer's bytes. An unwrapped object must match them; a
// wrapped one (signature 15 1c) is compared as its native data, which follow the header (A
// bytes) and class name (B bytes) and 24 bytes more.
bool SameOleFile(const std::string& path, const std::string& theirs);
// Table discovery cleans column names: every control character (U+0000 to U+001F, U+007F to
// U+009F) becomes "_"; every other character of any script stays.
std::string CleanedName(const std::string& name);

}  // namespace testsupport
