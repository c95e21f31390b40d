// CStrTok: in-place tokenizer in character-set or string-delimiter mode.
#include "support/str_tok.h"

#include <cstring>

namespace support {

namespace {
constexpr const char* kWhiteSpace = " \t\r\n";

bool startsWith(const char* text, const char* prefix, size_t length) {
  return std::strncmp(text, prefix, length) == 0;
}

char* skipNonDelimiters(char* p, const char* set) {
  while (*p != '\0' && !CStrTok::IsDelimiter(*p, set)) ++p;
  return p;
}
}  // namespace

char* CStrTok::GetFirst(char* text, const char* delimiter) {
  Break();
  m_pNext = text;
  return GetNext(delimiter);
}

char* CStrTok::GetNext(const char* delimiter) {
  if (m_pNext == nullptr || delimiter == nullptr) return nullptr;
  if (m_chSaved != 0) *m_pNext = m_chSaved;
  char* start = m_pNext;
  const size_t length = std::strlen(delimiter);

  if (m_bDelimitersAsTokens) {
    if (m_bDelimiterIsString) {
      if (length > 0 && startsWith(m_pNext, delimiter, length))
        m_pNext += length;
      else
        m_pNext = length > 0 ? std::strstr(m_pNext, delimiter) : nullptr;
    } else {
      if (IsDelimiter(*m_pNext, delimiter))
        ++m_pNext;
      else
        m_pNext = skipNonDelimiters(m_pNext, delimiter);
    }
  } else if (m_bDelimiterIsString) {
    // An empty delimiter string would never advance: the rest of the text is one token.
    while (length > 0 && startsWith(start, delimiter, length)) {
      start += length;
      if (m_bEmptyTokens) break;
    }
    m_pNext = length > 0 ? std::strstr(start, delimiter) : nullptr;
  } else {
    if (!m_bEmptyTokens) {
      while (IsDelimiter(*start, delimiter)) ++start;
    } else if (IsDelimiter(*start, delimiter) && m_chSaved != 0) {
      ++start;
    }
    m_pNext = skipNonDelimiters(start, delimiter);
  }

  if (m_pNext != nullptr && *m_pNext != '\0') {
    m_chSaved = *m_pNext;
    *m_pNext = '\0';
  } else {
    m_chSaved = 0;
    m_pNext = nullptr;
  }
  m_pTokenStart = start;
  if (*start != '\0' || m_bEmptyTokens) return start;
  return nullptr;
}

void CStrTok::SetNext(char* position) {
  if (m_chSaved != 0 && m_pNext != nullptr) *m_pNext = m_chSaved;
  m_chSaved = 0;
  m_pNext = position;
  m_pTokenStart = nullptr;
}

bool CStrTok::IsDelimiter(char ch, const char* set) {
  return ch != '\0' && set != nullptr && std::strchr(set, ch) != nullptr;
}

void CStrTok::TrimLeft(char*& token, const char* set) {
  if (m_pNext == nullptr || token == nullptr) return;
  if (set == nullptr) set = kWhiteSpace;
  while (*token != '\0' && IsDelimiter(*token, set)) ++token;
}

void CStrTok::TrimRight(const char* set) {
  if (m_pNext == nullptr || m_pTokenStart == nullptr) return;
  if (set == nullptr) set = kWhiteSpace;
  char* p = m_pNext;
  while (p > m_pTokenStart && IsDelimiter(*(p - 1), set)) {
    --p;
    *p = '\0';
  }
}

}  // namespace support
