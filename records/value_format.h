// FormatField and the value formatters: the text of one column value, by data type, from the
// value's bytes inside a loaded page. Every text is UTF-8; an absent value is "NULL".
#pragma once

#include <cstdint>
#include <string>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "support/byte_view.h"

namespace records {

// Dispatches by the column's type code. Returns -1 (text = the type name) for an unknown code,
// otherwise 1. Code 1 (BIT) has no value form: the text is the type name.
int FormatField(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column,
                int64_t position, int64_t length, std::string& text);

// The fixed-size formatters return 1 with the text set, or 0 with an empty text when the value
// does not lie inside the page.
int FormatByte(support::ByteView page, int64_t position, std::string& text);
int FormatInt(support::ByteView page, int64_t position, std::string& text);
int FormatLong(support::ByteView page, int64_t position, std::string& text);
int FormatCurrency(support::ByteView page, int64_t position, std::string& text);
int FormatSingle(support::ByteView page, int64_t position, std::string& text);
int FormatDouble(support::ByteView page, int64_t position, std::string& text);
int FormatDate(support::ByteView page, int64_t position, std::string& text);
int FormatGuid(support::ByteView page, int64_t position, std::string& text);
int FormatNumeric(support::ByteView page, int64_t position, std::string& text, int precision, int scale);
// TEXT: 1 with the text set ("NULL" when empty), 0 with an empty text outside the page.
int FormatText(support::ByteView page, int64_t position, std::string& text, int64_t length);
// Complex column (type 18): the text of the values its key joins ("2 files: a.jpg, b.pdf",
// "value1; value4"); the key itself when the column's data table cannot be read.
std::string FormatComplex(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column,
                          int64_t position);
// BINARY: lower-case hexadecimal; -1 (text untouched) when the value does not lie inside the page.
int FormatBinary(support::ByteView page, int64_t position, std::string& text, int64_t length);

// The date text of a day count since 30 December 1899 ("%m/%d/%Y %H:%M:%S"), "NULL" outside the
// years 1 to 9999 or for a value that is not a number.
std::string DateText(double days);

}  // namespace records
