// CStrTok: splits a caller's writable, zero-terminated text into tokens in place, one per call.
// It writes a terminator after each token and gives the overwritten character back on the next
// call, so a complete pass (or Break) leaves the text exactly as it was.
#pragma once

namespace support {

class CStrTok {
 public:
  CStrTok() = default;
  virtual ~CStrTok() = default;

  // Flags, set by the caller before the first call.
  bool m_bDelimitersAsTokens = false;  // each delimiter is itself returned as a token
  bool m_bEmptyTokens = false;         // two delimiters in a row enclose an empty token
  bool m_bDelimiterIsString = false;   // the delimiter is one string, not a set of characters

  char* GetFirst(char* text, const char* delimiter);
  char* GetNext(const char* delimiter);
  void SetNext(char* position);
  void Break() { SetNext(nullptr); }
  bool IsEnd() const { return m_pNext == nullptr; }
  static bool IsDelimiter(char ch, const char* set);
  void TrimLeft(char*& token, const char* set = nullptr);
  void TrimRight(const char* set = nullptr);

  char* m_pNext = nullptr;  // where the next token begins; null once the text is exhausted
  char m_chSaved = 0;       // the character the last terminator overwrote; 0 when none

 private:
  char* m_pTokenStart = nullptr;  // start of the token returned last (for TrimRight)
};

}  // namespace support
