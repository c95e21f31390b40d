// The property blob of a catalog object (MSysObjects.LvProp): the properties Access keeps for
// a table and for each of its columns (Format, DecimalPlaces, and for calculated columns their
// Expression and ResultType).
//
// Blob: "MR2\0", then chunks {u32 length (these 6 bytes included), u16 kind, body}:
//   kind 0x80  name table: repeated {u16 byte length, UTF-16LE name}
//   kind 0x00  the object's own properties   } body: u32 header length (6 + name bytes),
//   kind 0x01  one column's properties       }   u16 name length, UTF-16LE column name,
//                                                then entries {u16 entry length (itself
//                                                included), u8 DDL flag, u8 type code, u16
//                                                index into the name table, u16 data length, data}
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "support/byte_view.h"

namespace records {

struct Property {
  uint8_t type = 0;  // a column type code (0x02 BYTE, 0x0A TEXT, 0x0C MEMO, ...)
  std::vector<uint8_t> data;
};

struct PropertyBlob {
  // Properties by column name ("" for the object itself), then by property name.
  std::unordered_map<std::string, std::unordered_map<std::string, Property>> byColumn;

  const Property* find(const std::string& column, const std::string& property) const;
};

// False when the blob does not start with "MR2\0"; damaged chunks and entries are skipped.
bool ParsePropertyBlob(support::ByteView blob, PropertyBlob& properties);

}  // namespace records
