// FormatField: the text of one column value, by data type, from the value's bytes inside a
// loaded page: the typed value (value_decode.h) in its display form (value_text.h). Every text
// is UTF-8; an absent value is "NULL".
#pragma once

#include <cstdint>
#include <string>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "support/byte_view.h"

namespace records {

// Dispatches by the column's type code. Returns -1 (text = the type name) for an unknown code,
// otherwise 1. Codes 1 (BIT) and 18 (ATTACHMENT) have no value form: the text is the type name.
// A fixed-size value (or a text) that does not lie inside the page gives the empty text; an OLE
// object is written into a new file of the OLE folder and the text is the file's path.
int FormatField(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column,
                int64_t position, int64_t length, std::string& text);

// BINARY: lower-case hexadecimal (empty for an empty value); -1 (text untouched) when the value
// does not lie inside the page.
int FormatBinary(support::ByteView page, int64_t position, std::string& text, int64_t length);

}  // namespace records
