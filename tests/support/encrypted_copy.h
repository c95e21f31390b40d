// Jet 4 RC4 page encryption applied to a plain file in code, so tests get encrypted files of
// any content: the encoding key goes into page 0 (under its mask), every other page is RC4'd.
#pragma once

#include <cstdint>
#include <vector>

namespace testsupport {

std::vector<uint8_t> JetRc4Encrypted(std::vector<uint8_t> plainFile, uint32_t encodingKey);

}  // namespace testsupport
