// Complex columns (type 18: attachments, multi-value columns, version history). The row holds
// only a key; the values are the rows of a hidden data table whose foreign-key column holds
// that key. MSysComplexColumns ties a column's complex id (from its descriptor) to that table
// and to the template table that says what kind of column it is:
//
//   MSysComplexColumns: ColumnName TEXT, ComplexTypeObjectID LONG (template table),
//                       FlatTableID LONG (data table), ConceptualTableID LONG (owner table),
//                       ComplexID LONG (the descriptor's complex id)
//   template names:     MSysComplexType_Attachment, MSysComplexTypeVH_<GUID> (version
//                       history), MSysComplexType_<scalar type> (multi-value, one column Value)
//   data table:         the template's columns, a LONG foreign key (extra flag 0x08, named
//                       "_<column>") and an autonumber id of its own
//
// A column is read in full on its first use and kept until another file is opened.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "support/value.h"

namespace records {

enum class ComplexKind { kUnknown, kAttachment, kMultiValue, kVersionHistory };

// One cell of a complex column: the typed value and the text the grid shows.
struct ComplexCell {
  support::Value value;  // kAttachments or kList (an empty one when the key has no rows)
  std::string text;      // "2 files: a.jpg, b.pdf", "value1; value4", "NULL" when empty
};

struct ComplexColumnData {
  ComplexKind kind = ComplexKind::kUnknown;
  std::string dataTableName;
  std::unordered_map<int32_t, ComplexCell> cells;  // by key
};

// The complex column with this complex id, or nullptr when the catalog or its data table cannot
// be read.
const ComplexColumnData* FindComplexColumn(analysis::MdbRecovery& recovery, int32_t complexId);

// The cell of a complex column for the key stored in a row. kind says whether the column could
// be resolved; when not, the cell is null.
ComplexCell ComplexColumnCell(analysis::MdbRecovery& recovery, const analysis::Column& column, int32_t key,
                              ComplexKind* kind = nullptr);

// Display texts.
std::string AttachmentsText(const std::vector<support::Attachment>& files);
std::string ListText(const std::vector<std::string>& items);

}  // namespace records
