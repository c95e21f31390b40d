// An aligned plain-text table for the console: one header line, a rule, one line per row.
#pragma once

#include <string>
#include <vector>

namespace cli {

// Columns are as wide as their widest cell, at most maxWidth characters (longer cells are cut
// and end in "..."); widths count UTF-8 characters.
std::string FormatTextTable(const std::vector<std::string>& header, const std::vector<std::vector<std::string>>& rows,
                            size_t maxWidth = 40);

}  // namespace cli
