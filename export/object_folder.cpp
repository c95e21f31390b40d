// Copying OLE objects into the export.
#include "export/object_folder.h"

#include "export/export_folder.h"
#include "platform/file_system.h"
#include "platform/output_file.h"

namespace exporter {

namespace {
// The copy's name keeps only characters that need no quoting in a CSV line or a reference.
std::string plainFileName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (char& c : name) {
    const bool plain =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
    if (!plain) c = '_';
  }
  if (name.empty() || name == "." || name == "..") name = "_" + name;
  return name;
}
}  // namespace

std::string ObjectFolder::place(const std::string& objectFile) {
  if (!platform::FileExists(objectFile)) return {};
  const std::string folder = platform::JoinPath(exportFolder_, kObjectsFolder);
  if (!created_) {
    platform::CreateFolder(folder);
    created_ = true;
  }
  const std::string name = plainFileName(objectFile);
  if (!platform::CopyFileTo(objectFile, platform::JoinPath(folder, name))) return {};
  return std::string(kObjectsFolder) + "/" + name;
}

}  // namespace exporter
