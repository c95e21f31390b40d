// Fuzzes the tokenizer in every mode: it must stay inside the text and give it back intact.
#include <cstring>
#include <string>
#include <vector>

#include "support/str_tok.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t flags = data[0];
  const size_t delimiterLength = 1 + data[1] % 12;
  if (size < 2 + delimiterLength) return 0;
  std::string delimiter(reinterpret_cast<const char*>(data + 2), delimiterLength);
  delimiter = delimiter.c_str();  // stop at an embedded NUL
  std::string text(reinterpret_cast<const char*>(data + 2 + delimiterLength), size - 2 - delimiterLength);
  text = text.c_str();

  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  support::CStrTok tok;
  tok.m_bDelimitersAsTokens = flags & 1;
  tok.m_bEmptyTokens = flags & 2;
  tok.m_bDelimiterIsString = flags & 4;
  size_t tokens = 0;
  for (char* t = tok.GetFirst(buffer.data(), delimiter.c_str()); t != nullptr; t = tok.GetNext(delimiter.c_str())) {
    if (++tokens > text.size() + 2) __builtin_trap();  // every call must make progress
    if (flags & 8) tok.TrimLeft(t);
  }
  if (!(flags & 8) && std::memcmp(buffer.data(), text.data(), text.size()) != 0) __builtin_trap();
  return 0;
}
