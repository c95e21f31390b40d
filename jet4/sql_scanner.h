// A small scanner for the few SQL statements the writer understands: names in brackets or
// plain identifiers, keywords without regard to case, numbers and punctuation.
#pragma once

#include <string>
#include <string_view>

namespace jet4 {

class SqlScanner {
 public:
  explicit SqlScanner(std::string_view text) : text_(text) {}

  bool atEnd();
  // Consumes the keyword (letters, compared without case) when it comes next.
  bool keyword(std::string_view word);
  // Consumes the character when it comes next.
  bool symbol(char c);
  // A bracketed name (up to the next single "]"; "]]" stands for a "]" of the name) or a plain
  // identifier; false when none comes next.
  bool name(std::string& out);
  // A run of letters, digits and underscores (a type name); false when none comes next.
  bool word(std::string& out);
  // An unsigned decimal number.
  bool number(int& out);

 private:
  void skipSpace();

  std::string_view text_;
  size_t at_ = 0;
};

}  // namespace jet4
