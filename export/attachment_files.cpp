// Writing attachment files beside a CSV export.
#include "export/attachment_files.h"

#include <cerrno>

#include "export/csv_rules.h"
#include "export/export_folder.h"
#include "platform/file_system.h"
#include "platform/output_file.h"
#include "support/execution_log.h"

namespace exporter {

namespace {

// "name (n).ext": the number goes before the extension so the file still opens as its type. A
// leading dot (".profile") is no extension.
std::string numberedName(const std::string& name, int n) {
  const size_t dot = name.find_last_of('.');
  const std::string suffix = " (" + std::to_string(n) + ")";
  if (dot == std::string::npos || dot == 0) return name + suffix;
  return name.substr(0, dot) + suffix + name.substr(dot);
}

// Creates a file of this name, or of the first free numbered name, in folder and writes the
// bytes. The file's name, or empty when it could not be written (then error says why).
std::string writeNewFile(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes,
                         std::string& error) {
  platform::OutputFile file;
  std::string candidate = name;
  for (int n = 2; !file.create(platform::JoinPath(folder, candidate)); ++n) {
    if (errno != EEXIST || n > 10000) {
      error = "cannot be created";
      return {};
    }
    candidate = numberedName(name, n);
  }
  file.write(bytes.data(), bytes.size());
  if (!file.close()) {
    error = "not written in full";
    return {};
  }
  return candidate;
}

}  // namespace

std::string AttachmentFiles::columnFolder(const analysis::Column& column) {
  const auto key = std::make_pair(column.columnNumber, column.name);
  auto found = columnFolders_.find(key);
  if (found == columnFolders_.end()) found = columnFolders_.emplace(key, columnNames_.take(column.name)).first;
  return found->second;
}

std::string AttachmentFiles::write(const analysis::Column& column, int64_t record, const support::Value& value) {
  const std::string relativeFolder =
      std::string(kAttachmentsFolder) + "/" + tableTitle_ + "/" + columnFolder(column) + "/" + std::to_string(record);
  const std::string folder = platform::JoinPath(exportFolder_, relativeFolder);
  std::string cell;
  bool folderMade = false;
  for (const auto& attachment : value.attachments) {
    if (!cell.empty()) cell += '\n';
    std::string error = "its folder cannot be created";
    if (!folderMade) folderMade = platform::CreateFolders(folder);
    const std::string written =
        folderMade ? writeNewFile(folder, support::SafeFileName(attachment.name), attachment.data, error) : "";
    if (written.empty()) {
      support::LogError("Attachment file " + attachment.name + " of " + column.name + ", record " +
                        std::to_string(record) + ": " + relativeFolder + " " + error);
      failed_ = true;
      cell += attachment.name;
    } else {
      cell += relativeFolder + "/" + written;
    }
  }
  return cell;
}

void AppendCsvField(AttachmentFiles& files, const analysis::Column& column, int64_t record, const support::Value& value,
                    std::string& line) {
  if (value.kind == support::ValueKind::kAttachments)
    AppendCsvText(files.write(column, record, value), line);
  else
    AppendCsvValue(column, value, line);
}

}  // namespace exporter
