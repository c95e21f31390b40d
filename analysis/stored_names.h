// Names as the file stores them (UTF-16LE) turned into the UTF-8 names the system shows.
#pragma once

#include <string>
#include <vector>

#include "support/byte_view.h"

namespace analysis {

struct Column;

// The UTF-8 form of a stored UTF-16LE name. Zero code units are padding, not characters,
// and are left out.
std::string DecodeStoredName(support::ByteView bytes);

// Keeps every printable character of any script; replaces each control character (U+0000 to
// U+001F, U+007F to U+009F) and each undecodable unit (U+FFFD) with one "_", so a name never
// breaks a line, a CSV header or a statement.
std::string CleanStoredName(const std::string& utf8Name);

// CleanStoredName, then cut to the column name field (259 bytes) on a character boundary.
std::string CleanColumnName(const std::string& utf8Name);

// Gives every column of one table a name no other column of it has, compared without regard
// to ASCII case as the Access target compares them: a later column whose name is taken gets
// " (2)", " (3)" ... the way export file names are made unique.
void MakeColumnNamesUnique(std::vector<Column>& columns);

}  // namespace analysis
