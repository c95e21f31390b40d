// The analysis steps of the export layer.
#include "export/analysis_steps.h"

#include "export/schema_statements.h"

namespace exporter {

void InstallAnalysisSteps(analysis::MdbRecovery& recovery) {
  recovery.steps.buildSchemaStatements = [](analysis::MdbRecovery&) {
    SortTableColumns();
    BuildSchemaStatements();
  };
}

}  // namespace exporter
