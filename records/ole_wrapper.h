// The wrapper that Access puts around an OLE object: a header naming the object's kind, the
// class name, then the native data (for a "Package", a small record around an embedded file).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/byte_view.h"
#include "support/value.h"

namespace records {

// Where the wrapper puts the inner object within data, and its extension; without a wrapper
// (any check fails) the inner object is the whole of data, "ole", and wrapped is false.
support::ObjectInfo InspectOleWrapper(support::ByteView data);

// As InspectOleWrapper, but strips the wrapper from data in place and sets the extension ("bmp", "pdf", a Package's own
// extension); when any check fails the data stay unchanged and the extension is "ole".
// Returns true when the wrapper was stripped.
bool ParseOleWrapper(std::vector<uint8_t>& data, std::string& extension);

// An extension taken from file data is used only when it is 1 to 16 ASCII letters or digits.
bool IsSafeExtension(const std::string& extension);

}  // namespace records
