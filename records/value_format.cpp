// FormatField and FormatBinary on top of the typed value.
#include "records/value_format.h"

#include "records/long_value.h"
#include "records/type_names.h"
#include "records/value_decode.h"
#include "records/value_text.h"

namespace records {

int FormatBinary(support::ByteView page, int64_t position, std::string& text, int64_t length) {
  if (!page.contains(position, length)) return -1;
  text.clear();
  AppendHexText(page.data() + position, static_cast<size_t>(length), text);
  return 1;
}

int FormatField(analysis::MdbRecovery& recovery, support::ByteView page, const analysis::Column& column,
                int64_t position, int64_t length, std::string& text) {
  // The long values keep their formatters' results: an OLE object becomes a file.
  if (column.type == kTypeOle) {
    FormatOle(recovery, page, position, text, length);
    return 1;
  }
  if (column.type == kTypeMemo) {
    FormatMemo(recovery, page, position, text, length);
    return 1;
  }
  if (column.type == kTypeBinary) {
    FormatBinary(page, position, text, length);
    return 1;
  }
  support::Value value;
  const DecodeStatus status = DecodeValue(recovery, page, column, position, length, value);
  if (status == DecodeStatus::kOutOfPage || (column.type == kTypeText && value.isNull())) {
    text.clear();
    return 1;
  }
  if (status == DecodeStatus::kNoValueForm) {
    text = GetTypeName(column);
    return text.rfind("UNKNOWN-DATATYPE =", 0) == 0 ? -1 : 1;
  }
  text.clear();
  AppendValueText(column, value, text);
  return 1;
}

}  // namespace records
