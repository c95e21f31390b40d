// AssessDamage.
#include "analysis/damage_report.h"

#include <algorithm>

namespace analysis {

namespace {
// Page types seen in sound files: 0 (the header, and blank pages) to 9.
constexpr int kHighestPageType = 9;

bool hasTable(const char* name) {
  return std::any_of(g_tables.begin(), g_tables.end(), [name](const Table& table) { return table.name == name; });
}
}  // namespace

bool DamageReport::damaged() const {
  return unreadablePages > 0 || catalogLost || unnamedTables > 0 || queriesLost || !extraLines.empty();
}

std::vector<std::string> DamageReport::lines() const {
  std::vector<std::string> out;
  if (unreadablePages > 0) out.push_back("Pages unreadable: " + std::to_string(unreadablePages));
  if (catalogLost)
    out.push_back("Catalog lost: tables named \"Recovered Table NN\" (" + std::to_string(unnamedTables) + ")");
  else if (unnamedTables > 0)
    out.push_back("Tables without a name in the catalog: " + std::to_string(unnamedTables) +
                  " (named \"Recovered Table NN\")");
  if (queriesLost) out.push_back("Saved queries lost");
  out.insert(out.end(), extraLines.begin(), extraLines.end());
  return out;
}

DamageReport AssessDamage(const MdbRecovery& recovery) {
  DamageReport report;
  for (const PageMetaData& page : g_pageMap)
    if (page.pageType < 0 || page.pageType > kHighestPageType) ++report.unreadablePages;
  const bool anyTable = !g_tables.empty();
  report.catalogLost = anyTable && !hasTable("ASysObjects");
  report.queriesLost = anyTable && !hasTable("ASysQueries");
  report.unnamedTables = recovery.channel ? recovery.channel->unnamedTables.load() : 0;
  return report;
}

}  // namespace analysis
