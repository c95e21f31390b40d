// The Access database an export writes into: a new file "Recovered_<title>_On_<stamp>.accdb" in
// the destination, created and closed through the engine interface on MdbRecovery's one engine
// database object. An existing file is never overwritten: the creation fails instead.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "analysis/mdb_recovery.h"
#include "engine/engine.h"

namespace exporter {

// Makes the engine database object ("initialising the engine"); null when there is no engine.
using EngineFactory = std::function<std::shared_ptr<engine::EngineDatabase>()>;
// Tests and the CLI choose the target's engine; an empty factory restores the default.
void SetTargetEngineFactory(EngineFactory factory);

// "On_%d-%d-%d__%dhr_%dm_%ds": the UTC month, day and year, then the local hour, minute and second.
std::string TargetTimeStamp();
// "<folder>/Recovered_<fileTitle>_<stamp>.accdb".
std::string TargetFileName(const std::string& exportFolder, const std::string& fileTitle);

// Creates the target in exportFolder and leaves it open in m_Obj_DAO_Database. 1 on success;
// -1 after the message "Error creating database : <name>" and its error-log line. The created
// file's path goes to *targetPath when given.
int CreateTarget(analysis::MdbRecovery& recovery, const std::string& exportFolder, const std::string& fileTitle,
                 std::string* targetPath = nullptr);

// Closes the engine database if it is open and ends the engine. 1, or -1 when the engine failed.
int CloseTarget(analysis::MdbRecovery& recovery);

}  // namespace exporter
