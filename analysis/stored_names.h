// Names as the file stores them (UTF-16LE) turned into the UTF-8 names the system shows.
#pragma once

#include <string>

#include "support/byte_view.h"

namespace analysis {

// The UTF-8 form of a stored UTF-16LE name. Zero code units are padding, not characters,
// and are left out.
std::string DecodeStoredName(support::ByteView bytes);

// Replaces every character below U+0020, or at or above U+007F except U+00A0, with one "_",
// then cuts the result to the column name field (259 bytes) on a character boundary.
std::string CleanColumnName(const std::string& utf8Name);

}  // namespace analysis
