// Record texts as record retrieval hands them out: a row text (every column's value followed
// by the field separator) or a message standing in for a row that is not a record.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace records {

constexpr const char* kErrorReadingRecord = "ERROR Reading Record";
constexpr const char* kLookupRowMessage = "Could not read lookup row.";
constexpr const char* kDeletedRowMessage = " This row was deleted in Original database";

// False for the empty text and the message texts (alone or combined).
bool IsRecordText(const std::string& text);

// One value per column: the record text split at the field separator (a missing value is empty).
std::vector<std::string> SplitRecordText(const std::string& text, size_t columnCount);

// The records of one screen, as the record list shows them: message texts dropped, each record
// split into its values, records whose values are all empty left out.
std::vector<std::vector<std::string>> ScreenRecords(const std::string* texts, size_t count, size_t columnCount);

}  // namespace records
