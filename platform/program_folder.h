// The program folder holds the logs, "Export Statistics.log" and (for the GUI) the temporary
// files. It is the executable's folder when that is writable, else a per-user state folder.
#pragma once

#include <string>

namespace platform {

// Folder path ending in "/".
std::string ProgramFolder();
// Tests and the CLI choose their own folder; an empty path restores the default.
void SetProgramFolder(const std::string& folder);

// Folder for "TempDb.mdb" and "TempOLeFiles": the program folder unless a caller (the CLI,
// which may run many times at once) sets a private one. Ends in "/".
std::string TempFilesFolder();
void SetTempFilesFolder(const std::string& folder);

}  // namespace platform
