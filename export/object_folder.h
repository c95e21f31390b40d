// The "Objects" folder of a CSV export: every OLE object a table export meets is copied there
// from the temporary OLE folder (which is emptied when the program closes), and the CSV refers
// to the copy by its path relative to the export folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace exporter {

class ObjectFolder {
 public:
  explicit ObjectFolder(std::string exportFolder) : exportFolder_(std::move(exportFolder)) {}

  // Copies the object's file; "Objects/<name>", or empty when there was nothing to copy.
  std::string place(const std::string& objectFile);
  // Writes an attachment's file (attachments have no file of their own until exported) as
  // "Objects/<n>_<name>", numbered so that equal names of different rows never meet; the path
  // written, or empty when the file could not be written.
  std::string placeAttachment(const std::string& name, const std::vector<uint8_t>& data);

 private:
  std::string objectsFolder();  // made on first use

  std::string exportFolder_;
  bool created_ = false;
  int attachments_ = 0;
};

}  // namespace exporter
