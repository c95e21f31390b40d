// Folders and files the system writes: logs, temporary files, exports.
#pragma once

#include <string>
#include <vector>

namespace platform {

// True only when the folder was created now; false when it existed already or could not be made.
bool CreateFolder(const std::string& path);
// Creates the folder and any missing parents; true when it exists afterwards.
bool CreateFolders(const std::string& path);
bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);
bool DeleteFile(const std::string& path);
// Removes the folder with everything in it; true when nothing is left.
bool DeleteFolderTree(const std::string& path);
// Names of the entries directly inside the folder (no "." or "..").
std::vector<std::string> ListFolder(const std::string& path);
// Appends text to the file, creating it; true when every byte was written.
bool AppendToFile(const std::string& path, const std::string& text);
// Joins a folder and a name with exactly one "/".
std::string JoinPath(const std::string& folder, const std::string& name);
// The file name without its folder and its last extension ("/a/Shop.mdb" gives "Shop").
std::string FileTitle(const std::string& path);
// A fresh private folder under $TMPDIR (or /tmp), mode 0700; empty on failure.
std::string MakePrivateTempFolder(const std::string& prefix);

}  // namespace platform
