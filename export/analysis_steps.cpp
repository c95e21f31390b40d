// The analysis steps of the export layer.
#include "export/analysis_steps.h"

#include "export/schema_statements.h"
#include "export/table_export_access.h"
#include "queries/temp_catalog.h"
#include "records/calculated_columns.h"

namespace exporter {

void InstallAnalysisSteps(analysis::MdbRecovery& recovery) {
  recovery.steps.readColumnProperties = [](analysis::MdbRecovery& analysed, analysis::Table& table) {
    records::ReadCalculatedColumns(analysed, table);
  };
  recovery.steps.buildSchemaStatements = [](analysis::MdbRecovery&) {
    SortTableColumns();
    BuildSchemaStatements();
  };
  // The catalog tables go into the temporary database through the Access export, rows and all.
  recovery.steps.buildQueries = [](analysis::MdbRecovery& analysed) {
    queries::BuildQueries(analysed, [](analysis::MdbRecovery& target, analysis::Table& table) {
      return ExportTableToAccess(target, table, kModeSchemaAndData);
    });
  };
}

}  // namespace exporter
