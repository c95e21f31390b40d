// Plain-text tables.
#include "cli/text_table.h"

#include <algorithm>

namespace cli {

namespace {
size_t displayWidth(const std::string& text) {
  size_t width = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++width;
  return width;
}

// The first count characters of text.
std::string firstCharacters(const std::string& text, size_t count) {
  size_t seen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && seen++ == count) return text.substr(0, i);
  }
  return text;
}

std::string fitted(const std::string& cell, size_t maxWidth) {
  std::string flat = cell;
  std::replace(flat.begin(), flat.end(), '\n', ' ');
  std::replace(flat.begin(), flat.end(), '\r', ' ');
  std::replace(flat.begin(), flat.end(), '\t', ' ');
  if (displayWidth(flat) <= maxWidth) return flat;
  return firstCharacters(flat, maxWidth > 3 ? maxWidth - 3 : 0) + "...";
}

void appendLine(std::string& out, const std::vector<std::string>& cells, const std::vector<size_t>& widths) {
  std::string line;
  for (size_t i = 0; i < widths.size(); ++i) {
    const std::string cell = i < cells.size() ? cells[i] : "";
    if (i > 0) line += " | ";
    line += cell;
    if (i + 1 < widths.size()) line.append(widths[i] - displayWidth(cell), ' ');
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  out += line + "\n";
}
}  // namespace

std::string FormatTextTable(const std::vector<std::string>& header, const std::vector<std::vector<std::string>>& rows,
                            size_t maxWidth) {
  std::vector<std::vector<std::string>> cells;
  cells.reserve(rows.size() + 1);
  std::vector<std::string> head;
  for (const auto& name : header) head.push_back(fitted(name, maxWidth));
  cells.push_back(head);
  for (const auto& row : rows) {
    std::vector<std::string> line;
    for (size_t i = 0; i < header.size(); ++i) line.push_back(fitted(i < row.size() ? row[i] : "", maxWidth));
    cells.push_back(line);
  }
  std::vector<size_t> widths(header.size(), 0);
  for (const auto& line : cells)
    for (size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], displayWidth(line[i]));

  std::string out;
  appendLine(out, cells[0], widths);
  std::string rule;
  for (size_t i = 0; i < widths.size(); ++i) rule += (i > 0 ? "-+-" : "") + std::string(widths[i], '-');
  out += rule + "\n";
  for (size_t r = 1; r < cells.size(); ++r) appendLine(out, cells[r], widths);
  return out;
}

}  // namespace cli
