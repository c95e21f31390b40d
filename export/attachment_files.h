// The files of attachment columns in a CSV export. A CSV line can hold only text, so each file's
// bytes (as stored, after inflation) are written beside the tables:
//
//   <export folder>/Attachments/<table file title>/<column>/<record number>/<file name>
//
// The record number counts the table's CSV records from 1 (the header line not counted), so a
// file belongs to exactly one line. Column and file names are made safe as file names ("/",
// NUL and control characters become "_", "." and ".." get a "_" in front); columns whose names
// end up alike get " (2)", " (3)" ..., and so does a file whose name is taken in its record's
// folder (before its extension). No existing file is ever replaced. The CSV cell lists the
// written files' paths relative to the export folder, one per line.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "analysis/model.h"
#include "support/file_name.h"
#include "support/value.h"

namespace exporter {

class AttachmentFiles {
 public:
  // tableTitle: the table's CSV file title, already safe and unique in the export folder.
  AttachmentFiles(std::string exportFolder, std::string tableTitle)
      : exportFolder_(std::move(exportFolder)), tableTitle_(std::move(tableTitle)) {}

  // Writes the files of the value (kAttachments) of column for the record numbered record and
  // gives the CSV cell's text: the relative paths, one per line. A file that cannot be written
  // is logged and listed by its stored name; failed() tells afterwards.
  std::string write(const analysis::Column& column, int64_t record, const support::Value& value);

  bool failed() const { return failed_; }

 private:
  std::string columnFolder(const analysis::Column& column);

  std::string exportFolder_;
  std::string tableTitle_;
  std::map<std::pair<int32_t, std::string>, std::string> columnFolders_;  // by column number and name
  support::UniqueFileNames columnNames_;
  bool failed_ = false;
};

// Appends the field of column to a CSV line: an attachment value through files, every other
// value as csv_rules write it.
void AppendCsvField(AttachmentFiles& files, const analysis::Column& column, int64_t record, const support::Value& value,
                    std::string& line);

}  // namespace exporter
