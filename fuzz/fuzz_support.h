// Shared pieces of the fuzz targets: an unattended analysis object and a scratch file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/mdb_recovery.h"

namespace fuzzsupport {

// A process-wide analysis object whose channel never waits, with every analysis step
// installed, logging and temporary files kept in a private folder.
analysis::MdbRecovery& Recovery();

// Writes the bytes to this process's scratch file and returns its path.
std::string WriteScratchFile(const uint8_t* data, size_t size, const char* extension);

}  // namespace fuzzsupport
