// What a finished analysis knows about the damage of the file it read: pages no reader can
// use, a lost catalog (its tables then carry "Recovered Table NN" names), lost saved queries.
// The viewer shows it after a recovery, so a damaged file never passes for a sound one.
#pragma once

#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"

namespace analysis {

struct DamageReport {
  int unreadablePages = 0;              // pages whose type byte is no page type at all
  bool catalogLost = false;             // no catalog table was found
  int unnamedTables = 0;                // tables the catalog does not name
  bool queriesLost = false;             // no saved-query table was found
  std::vector<std::string> extraLines;  // more findings that later steps report

  bool damaged() const;
  // One line per finding, for the progress list and the main window's notice; empty when sound.
  std::vector<std::string> lines() const;
};

// From the page map, the table list and the channel of the analysis just run.
DamageReport AssessDamage(const MdbRecovery& recovery);

}  // namespace analysis
