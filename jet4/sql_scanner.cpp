// Scanning SQL text.
#include "jet4/sql_scanner.h"

#include <cctype>

namespace jet4 {

namespace {
bool isWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
}  // namespace

void SqlScanner::skipSpace() {
  while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
}

bool SqlScanner::atEnd() {
  skipSpace();
  return at_ >= text_.size();
}

bool SqlScanner::keyword(std::string_view word) {
  skipSpace();
  if (text_.size() - at_ < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(text_[at_ + i])) != std::toupper(static_cast<unsigned char>(word[i])))
      return false;
  if (at_ + word.size() < text_.size() && isWordChar(text_[at_ + word.size()])) return false;
  at_ += word.size();
  return true;
}

bool SqlScanner::symbol(char c) {
  skipSpace();
  if (at_ >= text_.size() || text_[at_] != c) return false;
  ++at_;
  return true;
}

bool SqlScanner::name(std::string& out) {
  skipSpace();
  if (at_ < text_.size() && text_[at_] == '[') {
    // A doubled "]" inside the brackets is one "]" of the name.
    std::string name;
    for (size_t i = at_ + 1; i < text_.size(); ++i) {
      if (text_[i] != ']') {
        name += text_[i];
      } else if (i + 1 < text_.size() && text_[i + 1] == ']') {
        name += ']';
        ++i;
      } else {
        out = std::move(name);
        at_ = i + 1;
        return true;
      }
    }
    return false;
  }
  return word(out);
}

bool SqlScanner::word(std::string& out) {
  skipSpace();
  size_t end = at_;
  while (end < text_.size() && isWordChar(text_[end])) ++end;
  if (end == at_) return false;
  out.assign(text_.substr(at_, end - at_));
  at_ = end;
  return true;
}

bool SqlScanner::number(int& out) {
  skipSpace();
  size_t end = at_;
  long value = 0;
  while (end < text_.size() && std::isdigit(static_cast<unsigned char>(text_[end])) && value < 1000000)
    value = value * 10 + (text_[end++] - '0');
  if (end == at_ || (end < text_.size() && isWordChar(text_[end]))) return false;
  out = static_cast<int>(value);
  at_ = end;
  return true;
}

}  // namespace jet4
