// One file analysed in a test as the viewer analyses it: a recovery with its own progress
// channel, the analysis steps that live above the analysis layer, the tables found by name, and
// an export of the user tables in any format.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "export/export_runner.h"
#include "tests/support/analysis_harness.h"

namespace testsupport {

// An export view that shows nothing: the tests read the export's outcome instead.
class QuietExportView : public exporter::ExportView {
 public:
  void statusInserted(const std::string&) override {}
  void percentChanged(int) override {}
  void finished(const std::string&, const std::vector<exporter::ExportStatistic>&) override {}
};

struct UserTablesExport {
  exporter::ExportOutcome outcome;
  std::string folder;                           // where the export wrote (for CSV, the folder it made)
  std::map<std::string, std::string> csvFiles;  // CSV only: table name -> its file
};

// Whether the analysis builds the tables' statements and rebuilds the saved queries (the steps
// the viewer installs), or stops at what the analysis layer does alone.
enum class AnalysisSteps { kInstalled, kAnalysisLayerOnly };

class AnalysedFile {
 public:
  explicit AnalysedFile(AnalysisSteps steps = AnalysisSteps::kInstalled);
  AnalysedFile(const AnalysedFile&) = delete;
  AnalysedFile& operator=(const AnalysedFile&) = delete;

  // Analyses file: an absolute path or an existing file as it stands, else a corpus file by its
  // name, e.g. "ace/x.accdb" (not ok, and nothing analysed, when the corpus lacks it).
  AnalysisOutcome analyse(const std::string& file, RecordingView* view = nullptr);
  // Analyses file and gives its table of that name; nullptr when either fails.
  analysis::Table* open(const std::string& file, const std::string& table);
  // The table of that name of the last analysis, or nullptr.
  static analysis::Table* Table(const std::string& name);

  // Exports every user table (every table but the program's own "ASys" ones) of the last
  // analysis, schema and data, in format (exporter::kFormat...) into a new export of
  // destination named after fileTitle.
  UserTablesExport exportUserTables(int format, const std::string& destination,
                                    const std::string& fileTitle = "corpus");

  analysis::MdbRecovery& recovery() { return recovery_; }
  analysis::ProgressChannel& channel() { return channel_; }
  void installSteps();

 private:
  analysis::ProgressChannel channel_;
  analysis::MdbRecovery recovery_{channel_};
};

// True for the program's own tables, which an export of the user's tables leaves out.
bool IsProgramTable(const analysis::Table& table);

}  // namespace testsupport
