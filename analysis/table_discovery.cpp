// Table discovery: placeholder until table definitions are decoded.
#include "analysis/mdb_recovery.h"

namespace analysis {

int MdbRecovery::DecodeColumnEntry(const std::vector<uint8_t>&, Table&, int32_t) { return -1; }
int MdbRecovery::DecodeTableDefinition(const std::vector<uint8_t>&, Table&) { return 0; }
int MdbRecovery::ReadCatalogNames() { return 1; }
int MdbRecovery::DiscoverTables() {
  channel->recoveryTblEvent.set();
  return static_cast<int>(g_tables.size());
}

}  // namespace analysis
