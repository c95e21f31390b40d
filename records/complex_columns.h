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

struct ComplexColumnData {
  ComplexKind kind = ComplexKind::kUnknown;
  std::string dataTableName;
  // By key: kAttachments, or kList (multi-value: the values; version history: per saved text a
  // kList of its kDate and its kText, newest first).
  std::unordered_map<int32_t, support::Value> cells;
};

// The complex column with this complex id, or nullptr when the catalog or its data table cannot
// be read.
const ComplexColumnData* FindComplexColumn(analysis::MdbRecovery& recovery, int32_t complexId);

// The value of a complex column for the key stored in a row (an empty list when the key has no
// rows); false when the column cannot be resolved (value untouched).
bool ComplexColumnValue(analysis::MdbRecovery& recovery, const analysis::Column& column, int32_t key,
                        support::Value& value);

}  // namespace records
