// Where OLE object files go: "TempOLeFiles" in the temporary files folder, unless a caller
// (the CLI's --ole-dir) chooses a folder of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace records {

std::string OleFilesFolder();
// An empty folder restores the default.
void SetOleFilesFolder(const std::string& folder);

// Writes one object as "Ole<number>.<extension>" in the folder (created when missing) and
// returns the file's path. A file that cannot be written is skipped; the path is still given.
std::string WriteOleFile(int32_t number, const std::string& extension, const std::vector<uint8_t>& data);

}  // namespace records
