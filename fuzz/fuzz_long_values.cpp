// Fuzzes MEMO and OLE values: the reference and any inline data, long-value rows and chains on
// pages of a small file, and the OLE wrapper parser. Input: a mode byte (bit 0: OLE object),
// a 2-byte value length, the value, then the pages that follow page 0 of the file.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "records/long_value.h"
#include "records/ole_wrapper.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3 || size > (1u << 18)) return 0;
  const bool ole = data[0] & 1;
  const size_t valueLength = std::min<size_t>(data[1] | data[2] << 8, size - 3);
  // The value sits on a data page as a row would hold it, the rest of the page zero.
  constexpr int64_t kValuePosition = 32;
  std::vector<uint8_t> page(analysis::kPageSize, 0);
  const size_t placed = std::min<size_t>(valueLength, page.size() - kValuePosition);
  std::copy(data + 3, data + 3 + placed, page.begin() + kValuePosition);

  // Page 0 of the file is empty; the long-value pages follow it.
  std::vector<uint8_t> file(analysis::kPageSize, 0);
  file.insert(file.end(), data + 3 + valueLength, data + size);
  analysis::MdbRecovery& recovery = fuzzsupport::PageRecovery();
  if (!fuzzsupport::OpenScannedFile(recovery, file)) return 0;

  std::string text;
  const support::ByteView view(page);
  if (ole)
    records::FormatOle(recovery, view, kValuePosition, text, static_cast<int64_t>(valueLength));
  else
    records::FormatMemo(recovery, view, kValuePosition, text, static_cast<int64_t>(valueLength));

  // The wrapper parser on its own, over the value's bytes.
  std::vector<uint8_t> object(data + 3, data + 3 + valueLength);
  std::string extension;
  records::ParseOleWrapper(object, extension);
  if (!records::IsSafeExtension(extension)) __builtin_trap();
  fuzzsupport::RemoveObjectFiles();
  return 0;
}
