// Page 0, the database header, as the engine writes it for a new database.
//
//  off | size | field
//  ----+------+------------------------------------------------------------
//   00 |  4   | 00 01 00 00
//   04 | 16   | engine name "Standard Jet DB", NUL-terminated
//   14 |  4   | version: 1 (4096-byte pages)
//   18 | 128  | region masked with the header key (RC4 keystream, XOR):
//      |      |   18: 24 bytes the engine always writes (00 01 00 00 01 01 00 00 02 ... 05 00 00 00)
//      |      |   3C: u16 code page; 3E: u32 database key (0 = not encrypted)
//      |      |   42: 40 bytes password (UTF-16), XORed with the creation-date mask
//      |      |   6E: u16 sort order (1033 = General); 70: u16 sort version (0)
//      |      |   72: creation date (double)
//   98 |  8   | 54 06 00 00 34 2E 30 00 (the same in every file)
//  E00 | 512  | 256 u16 words: 0x0101, then 0x0100
#pragma once

#include <array>
#include <cstdint>

#include "jet4/page_format.h"

namespace jet4 {

struct HeaderSettings {
  uint16_t codePage = 1252;
  uint16_t sortOrder = 1033;
  double creationDate = 0;  // day count, the stored date form
};

std::array<uint8_t, kPageSize> BuildHeaderPage(const HeaderSettings& settings);

// The header key's keystream, XORed onto bytes 0x18..0x97 (exposed for tests).
std::array<uint8_t, 128> HeaderMask();

}  // namespace jet4
