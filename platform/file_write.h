// Writing whole files: scratch databases that no one else may read, and the text files of an
// export (query scripts).
#pragma once

#include <string>

namespace platform {

// Creates a new, empty file readable and writable by the owner only (mode 0600). False when a
// file (or link) exists at the path or it cannot be made; an existing file is never opened.
bool CreatePrivateFile(const std::string& path);

// Writes the text as the whole content of the file, creating it or emptying it first. False
// when the file cannot be opened or not every byte was written.
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace platform
