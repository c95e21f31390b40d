// Peer cell forms.
#include "tests/support/peer_cells.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "tests/support/corpus.h"

namespace testsupport {

std::string HexOf(const std::vector<uint8_t>& bytes, size_t limit) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 0x0F];
  }
  return hex;
}

std::string PeerBinaryForm(const std::vector<uint8_t>& bytes) {
  std::string form = HexOf(bytes, 64);
  if (bytes.size() > 64) form += "\xE2\x80\xA6+" + std::to_string(bytes.size() - 64) + " bytes";
  return form;
}

std::vector<uint8_t> BytesOfHex(const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

std::string IsoDate(const std::string& ours) {
  if (ours.size() != 19 || ours[2] != '/' || ours[5] != '/') return ours;
  return ours.substr(6, 4) + "-" + ours.substr(0, 2) + "-" + ours.substr(3, 2) + ours.substr(10);
}

std::string PlainDecimal(std::string text) {
  bool negative = !text.empty() && text[0] == '-';
  if (negative) text.erase(0, 1);
  if (text.find('.') != std::string::npos) {
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
  }
  size_t firstDigit = text.find_first_not_of('0');
  text = firstDigit == std::string::npos ? "0" : text.substr(firstDigit);
  if (text[0] == '.') text.insert(0, "0");
  return negative && text != "0" ? "-" + text : text;
}

bool SameFloat(const std::string& ours, const std::string& theirs, bool single) {
  char* end = nullptr;
  const double a = std::strtod(ours.c_str(), &end);
  const double b = std::strtod(theirs.c_str(), nullptr);
  if (single) return static_cast<float>(a) == static_cast<float>(b);
  return std::fabs(a - b) <= 1e-12 * std::max(1.0, std::fabs(b));
}

std::string CleanedName(const std::string& name) {
  std::string cleaned;
  for (size_t i = 0; i < name.size();) {
    const unsigned char lead = static_cast<unsigned char>(name[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const unsigned char second = i + 1 < name.size() ? static_cast<unsigned char>(name[i + 1]) : 0;
    const bool control = lead < 0x20 || lead == 0x7F || (lead == 0xC2 && second < 0xA0);
    cleaned += control ? std::string("_") : name.substr(i, length);
    i += length;
  }
  return cleaned;
}

bool SameOleFile(const std::string& path, const std::string& theirs) {
  const std::vector<uint8_t> file = ReadWholeFile(path);
  if (!std::filesystem::exists(path)) return false;
  if (PeerBinaryForm(file) == theirs) return true;
  const std::vector<uint8_t> prefix = BytesOfHex(theirs.substr(0, std::min<size_t>(theirs.size(), 128)));
  const size_t plus = theirs.find("+");
  const size_t total = prefix.size() + (plus == std::string::npos ? 0 : std::stoul(theirs.substr(plus + 1)));
  if (prefix.size() < 57 || prefix[0] != 0x15 || prefix[1] != 0x1C) return false;
  const size_t headerSize = prefix[2] | prefix[3] << 8;
  if (headerSize + 12 > prefix.size()) return false;
  const size_t classNameLength = prefix[headerSize + 8] | prefix[headerSize + 9] << 8;
  return !file.empty() && file.size() <= total - headerSize - classNameLength - 24;
}

}  // namespace testsupport
