// ExportTableData.
#include "export/table_export.h"

#include "export/schema_statements.h"
#include "export/table_export_access.h"

namespace exporter {

int ExportTableData(analysis::MdbRecovery& recovery, analysis::Table& table, int variant, int exportMode,
                    const CsvTableTarget& csv) {
  switch (variant) {
    case kFormatAccess:
      return ExportTableToAccess(recovery, table, exportMode,
                                 CreateTableStatement(table, StatementForm::kForNewDatabase));
    case kFormatCsv: return ExportTableToCsv(recovery, table, csv, exportMode);
    default: table.exportedRecords = 0; return -1;
  }
}

}  // namespace exporter
