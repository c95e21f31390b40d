// Installs the steps of Analyze that live above the analysis layer.
#pragma once

#include "analysis/mdb_recovery.h"

namespace exporter {

// Sets the schema-statement step (column sort, then CREATE TABLE statements) and the saved-query
// step (temporary catalog database, query reconstruction).
void InstallAnalysisSteps(analysis::MdbRecovery& recovery);

}  // namespace exporter
