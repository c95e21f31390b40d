// Runs one analysis the way the desktop viewer does: the worker on this thread, the status
// and table loops on two threads of their own, talking through the progress channel.
#pragma once

#include <string>

#include "analysis/mdb_recovery.h"
#include "cli/console_progress.h"

namespace cli {

// Returns the result of Analyze. Status texts and messages land in the console.
bool RunAnalysis(analysis::MdbRecovery& recovery, const std::string& path, ConsoleProgress& console);

}  // namespace cli
