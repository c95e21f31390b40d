// Shared pieces of the fuzz targets: an unattended analysis object and a scratch file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"

namespace fuzzsupport {

// A process-wide analysis object whose channel never waits, with every analysis step
// installed, logging and temporary files kept in a private folder.
analysis::MdbRecovery& Recovery();

// The same object set up to decode pages on their own: the storage format and layout of Jet 4
// chosen, as the analysis leaves them for the record decoders.
analysis::MdbRecovery& PageRecovery();

// Writes the bytes to this process's scratch file and returns its path.
std::string WriteScratchFile(const uint8_t* data, size_t size, const char* extension);

// Writes the bytes as the scratch file, opens it and fills the page map; false when it cannot.
bool OpenScannedFile(analysis::MdbRecovery& recovery, const std::vector<uint8_t>& bytes);

// Removes the OLE object files the decoders wrote, so that long runs do not fill the disk.
void RemoveObjectFiles();

}  // namespace fuzzsupport
