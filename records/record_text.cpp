// Recognising and splitting record texts.
#include "records/record_text.h"

#include <algorithm>

#include "records/row_decoder.h"
#include "support/str_tok.h"

namespace records {

bool IsRecordText(const std::string& text) {
  static const std::string kDeleted = kDeletedRowMessage;
  static const std::string kNotRecords[] = {
      kErrorReadingRecord, kLookupRowMessage, kDeleted, kDeleted + kDeleted, kLookupRowMessage + kDeleted,
  };
  if (text.empty()) return false;
  return std::find(std::begin(kNotRecords), std::end(kNotRecords), text) == std::end(kNotRecords);
}

std::vector<std::string> SplitRecordText(const std::string& text, size_t columnCount) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  support::CStrTok tokenizer;
  tokenizer.m_bDelimiterIsString = true;
  std::vector<std::string> values;
  values.reserve(columnCount);
  char* token = tokenizer.GetFirst(buffer.data(), kFieldSeparator);
  for (size_t i = 0; i < columnCount; ++i) {
    values.emplace_back(token != nullptr ? token : "");
    if (token != nullptr) token = tokenizer.GetNext(kFieldSeparator);
  }
  return values;
}

std::vector<std::vector<std::string>> ScreenRecords(const std::string* texts, size_t count, size_t columnCount) {
  std::vector<std::vector<std::string>> records;
  for (size_t i = 0; i < count; ++i) {
    if (!IsRecordText(texts[i])) continue;
    std::vector<std::string> values = SplitRecordText(texts[i], columnCount);
    if (std::all_of(values.begin(), values.end(), [](const std::string& v) { return v.empty(); })) continue;
    records.push_back(std::move(values));
  }
  return records;
}

}  // namespace records
