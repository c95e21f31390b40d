// The "Objects" folder of a CSV export: every OLE object a table export meets is copied there
// from the temporary OLE folder (which is emptied when the program closes), and the CSV refers
// to the copy by its path relative to the export folder.
#pragma once

#include <string>

namespace exporter {

class ObjectFolder {
 public:
  explicit ObjectFolder(std::string exportFolder) : exportFolder_(std::move(exportFolder)) {}

  // Copies the object's file; "Objects/<name>", or empty when there was nothing to copy.
  std::string place(const std::string& objectFile);

 private:
  std::string exportFolder_;
  bool created_ = false;
};

}  // namespace exporter
