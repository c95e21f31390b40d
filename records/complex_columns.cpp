// Resolving complex columns through MSysComplexColumns and reading their hidden data tables.
#include "records/complex_columns.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "format/text_codec.h"
#include "records/attachment_blob.h"
#include "records/long_value.h"
#include "records/table_scan.h"
#include "records/type_names.h"
#include "records/value_decode.h"

namespace records {

namespace {
constexpr uint32_t kCatalogIdMask = 0x00FFFFFF;  // ids name definition pages in their low 24 bits
constexpr uint8_t kForeignKeyExtFlag = 0x08;

struct CatalogRow {
  int32_t typeObjectId = 0;
  int32_t flatTableId = 0;
};

// Kept in MdbRecovery::recordsCache for the life of one opened file.
struct ComplexCache {
  std::mutex mutex;
  bool catalogRead = false;
  std::unordered_map<int32_t, CatalogRow> catalog;  // by complex id
  std::unordered_map<int32_t, std::unique_ptr<ComplexColumnData>> columns;
};

ComplexCache& cacheOf(analysis::MdbRecovery& recovery) {
  // Set once per file, before any decoding of that file (the record list and the export never
  // run at once, and both take the cache's mutex below).
  static std::mutex creation;
  std::lock_guard<std::mutex> lock(creation);
  if (!recovery.recordsCache) recovery.recordsCache = std::make_shared<ComplexCache>();
  return *std::static_pointer_cast<ComplexCache>(recovery.recordsCache);
}

const analysis::CatalogObject* catalogObject(uint32_t id) {
  const auto found = analysis::g_catalogObjects.find(id & kCatalogIdMask);
  return found == analysis::g_catalogObjects.end() ? nullptr : &found->second;
}

uint32_t catalogIdOf(const std::string& name) {
  for (const auto& [id, object] : analysis::g_catalogObjects)
    if (object.name == name) return id;
  return 0;
}

int32_t longValue(const ScannedRow& row, const analysis::Column* column) {
  support::ByteView bytes;
  if (column == nullptr || !row.value(*column, bytes)) return 0;
  return bytes.i32(0);
}

std::string textValue(const ScannedRow& row, const analysis::Column* column) {
  support::ByteView bytes;
  if (column == nullptr || !row.value(*column, bytes)) return {};
  return format::DecodeJetText(bytes);
}

void readCatalog(analysis::MdbRecovery& recovery, ComplexCache& cache) {
  cache.catalogRead = true;
  const uint32_t id = catalogIdOf("MSysComplexColumns");
  analysis::Table table;
  if (id == 0 || recovery.ReadTableSchema(id, table) != 1) return;
  const analysis::Column* complexId = FindColumn(table, "ComplexID");
  const analysis::Column* typeObject = FindColumn(table, "ComplexTypeObjectID");
  const analysis::Column* flatTable = FindColumn(table, "FlatTableID");
  if (complexId == nullptr || flatTable == nullptr) return;
  ScanTableRows(recovery, table, [&](const ScannedRow& row) {
    cache.catalog[longValue(row, complexId)] = CatalogRow{longValue(row, typeObject), longValue(row, flatTable)};
    return true;
  });
}

ComplexKind kindOf(const std::string& templateName, const analysis::Table& data) {
  if (templateName == "MSysComplexType_Attachment") return ComplexKind::kAttachment;
  if (templateName.rfind("MSysComplexTypeVH_", 0) == 0) return ComplexKind::kVersionHistory;
  if (templateName.rfind("MSysComplexType_", 0) == 0) return ComplexKind::kMultiValue;
  // The template's name is lost: its columns still tell.
  if (FindColumn(data, "FileData") != nullptr && FindColumn(data, "FileName") != nullptr)
    return ComplexKind::kAttachment;
  if (FindColumn(data, "Value") != nullptr) return ComplexKind::kMultiValue;
  return ComplexKind::kUnknown;
}

const analysis::Column* foreignKeyColumn(const analysis::Table& data) {
  for (const auto& column : data.columns)
    if (column.type == kTypeLong && (column.extFlags & kForeignKeyExtFlag) != 0) return &column;
  for (const auto& column : data.columns)
    if (column.type == kTypeLong && !column.isAutoNumber && column.name.rfind("_", 0) == 0) return &column;
  return nullptr;
}

support::Attachment attachmentOf(analysis::MdbRecovery& recovery, const ScannedRow& row, const analysis::Table& data) {
  support::Attachment file;
  file.name = textValue(row, FindColumn(data, "FileName"));
  file.type = textValue(row, FindColumn(data, "FileType"));
  support::ByteView stored;
  const analysis::Column* dataColumn = FindColumn(data, "FileData");
  if (dataColumn == nullptr || !row.value(*dataColumn, stored)) return file;
  std::vector<uint8_t> blobBytes;
  const LongValueReference reference = ParseLongValueReference(stored);
  if (ReadLongValueData(recovery, stored, reference, blobBytes) != LongValueRead::kRead) return file;
  AttachmentBlob blob;
  if (ParseAttachmentBlob(support::ByteView(blobBytes), blob) == AttachmentBlobResult::kOk)
    file.data = std::move(blob.data);
  return file;
}

// A scalar value of a multi-value column (or a version's text), typed.
support::Value scalarOf(analysis::MdbRecovery& recovery, const ScannedRow& row, const analysis::Column& column) {
  support::Value value;
  support::ByteView bytes;
  if (!row.value(column, bytes)) return value;
  const int64_t position = bytes.data() - row.page.data();
  DecodeValue(recovery, row.page, column, position, static_cast<int64_t>(bytes.size()), value);
  return value;
}

struct Version {
  double modified = 0;
  support::Value text;
};

void addVersions(ComplexColumnData& column, std::unordered_map<int32_t, std::vector<Version>>& versions) {
  for (auto& [key, list] : versions) {
    // Newest first, as the history is read.
    std::stable_sort(list.begin(), list.end(),
                     [](const Version& a, const Version& b) { return a.modified > b.modified; });
    support::Value& cell = column.cells[key];
    cell.kind = support::ValueKind::kList;
    for (Version& version : list) {
      support::Value date;
      date.kind = support::ValueKind::kDate;
      date.real = version.modified;
      support::Value entry;
      entry.kind = support::ValueKind::kList;
      entry.items = {std::move(date), std::move(version.text)};
      cell.items.push_back(std::move(entry));
    }
  }
}

std::unique_ptr<ComplexColumnData> readColumn(analysis::MdbRecovery& recovery, const CatalogRow& row) {
  const analysis::CatalogObject* flat = catalogObject(static_cast<uint32_t>(row.flatTableId));
  const analysis::CatalogObject* templ = catalogObject(static_cast<uint32_t>(row.typeObjectId));
  analysis::Table data;
  if (recovery.ReadTableSchema(static_cast<uint32_t>(row.flatTableId) & kCatalogIdMask, data) != 1) return nullptr;
  const analysis::Column* foreignKey = foreignKeyColumn(data);
  if (foreignKey == nullptr) return nullptr;
  auto column = std::make_unique<ComplexColumnData>();
  column->dataTableName = flat != nullptr ? flat->name : std::string();
  column->kind = kindOf(templ != nullptr ? templ->name : std::string(), data);

  const analysis::Column* valueColumn = FindColumn(data, "Value");
  const analysis::Column* versionText = nullptr;
  const analysis::Column* versionDate = nullptr;
  for (const auto& c : data.columns) {
    if (c.type == kTypeMemo) versionText = &c;
    if (c.type == kTypeDate && c.name.rfind("Modified", 0) == 0) versionDate = &c;
  }
  std::unordered_map<int32_t, std::vector<Version>> versions;
  ScanTableRows(recovery, data, [&](const ScannedRow& scanned) {
    if (recovery.Channel().aborted()) return false;
    const int32_t key = longValue(scanned, foreignKey);
    support::Value& cell = column->cells[key];
    switch (column->kind) {
      case ComplexKind::kAttachment:
        cell.kind = support::ValueKind::kAttachments;
        cell.attachments.push_back(attachmentOf(recovery, scanned, data));
        break;
      case ComplexKind::kMultiValue:
        if (valueColumn == nullptr) break;
        cell.kind = support::ValueKind::kList;
        cell.items.push_back(scalarOf(recovery, scanned, *valueColumn));
        break;
      case ComplexKind::kVersionHistory: {
        if (versionText == nullptr) break;
        support::ByteView date;
        const double modified = versionDate != nullptr && scanned.value(*versionDate, date) ? date.f64(0) : 0.0;
        versions[key].push_back({modified, scalarOf(recovery, scanned, *versionText)});
        break;
      }
      case ComplexKind::kUnknown: break;
    }
    return true;
  });
  addVersions(*column, versions);
  return column;
}
}  // namespace

const ComplexColumnData* FindComplexColumn(analysis::MdbRecovery& recovery, int32_t complexId) {
  ComplexCache& cache = cacheOf(recovery);
  std::lock_guard<std::mutex> lock(cache.mutex);
  if (!cache.catalogRead) readCatalog(recovery, cache);
  const auto known = cache.columns.find(complexId);
  if (known != cache.columns.end()) return known->second.get();
  const auto row = cache.catalog.find(complexId);
  auto& slot = cache.columns[complexId];
  if (row != cache.catalog.end()) slot = readColumn(recovery, row->second);
  return slot.get();
}

bool ComplexColumnValue(analysis::MdbRecovery& recovery, const analysis::Column& column, int32_t key,
                        support::Value& value) {
  const ComplexColumnData* data = FindComplexColumn(recovery, column.complexId);
  if (data == nullptr) return false;
  const auto found = data->cells.find(key);
  if (found != data->cells.end()) {
    value = found->second;
    return true;
  }
  value.clear();
  value.kind = data->kind == ComplexKind::kAttachment ? support::ValueKind::kAttachments : support::ValueKind::kList;
  return true;
}

}  // namespace records
