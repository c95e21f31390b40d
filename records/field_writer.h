// The export's side of DecodeRowForExport: receives each decoded field of a row.
#pragma once

#include "analysis/model.h"

namespace records {

class FieldWriter {
 public:
  virtual ~FieldWriter() = default;
  // True when the field was counted (written).
  virtual bool writeField(const analysis::Column& column, analysis::Field& field) = 0;
};

}  // namespace records
