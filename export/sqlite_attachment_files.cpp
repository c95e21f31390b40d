// Child tables of attachment columns in the SQLite target.
#include "export/sqlite_attachment_files.h"

#include "records/complex_columns.h"
#include "records/type_names.h"
#include "support/execution_log.h"

namespace exporter {

std::string SqliteAttachmentTableName(const analysis::Table& table, const analysis::Column& column) {
  return table.name + "_" + column.name + "_files";
}

bool SqliteAttachmentFiles::create(analysis::MdbRecovery& recovery, SqliteFile& file, const analysis::Table& table) {
  for (size_t i = 0; i < table.columns.size(); ++i) {
    // Complex columns of other kinds (multi-value, version history) keep their values as text.
    if (table.columns[i].type != records::kTypeAttachment) continue;
    const records::ComplexColumnData* data = records::FindComplexColumn(recovery, table.columns[i].complexId);
    if (data == nullptr || data->kind != records::ComplexKind::kAttachment) continue;
    const std::string name = SqliteAttachmentTableName(table, table.columns[i]);
    const std::string statement = "CREATE TABLE " + SqliteQuoted(name) +
                                  " (\"owner_rowid\" INTEGER, \"name\" TEXT, \"type\" TEXT, \"data\" BLOB)";
    auto child = std::make_unique<Child>();
    child->column = i;
    if (!file.execute(statement) || !child->insert.prepare(file, name, 4)) {
      error_ = file.error();
      support::LogError("Create table query failed.. \r\n" + statement + "\r\n" + error_);
      return false;
    }
    children_.push_back(std::move(child));
  }
  return true;
}

bool SqliteAttachmentFiles::insertFiles(int64_t ownerRowId, const std::vector<const support::Value*>& values) {
  bool complete = true;
  for (const auto& child : children_) {
    if (child->column >= values.size() || values[child->column] == nullptr) continue;
    for (const support::Attachment& attachment : values[child->column]->attachments) {
      child->insert.bindInteger(1, ownerRowId);
      child->insert.bindText(2, attachment.name);
      child->insert.bindText(3, attachment.type);
      child->insert.bindBlob(4, attachment.data);
      if (child->insert.step() != SQLITE_DONE) {
        error_ = child->insert.error();
        support::LogError("Insert attachment failed for " + attachment.name + ": " + error_);
        complete = false;
        continue;
      }
      ++written_;
    }
  }
  return complete;
}

}  // namespace exporter
