// One analysis with the console as the progress window.
#include "cli/analysis_run.h"

#include "analysis/progress_loops.h"
#include "platform/file_system.h"

namespace cli {

bool RunAnalysis(analysis::MdbRecovery& recovery, const std::string& path, ConsoleProgress& console) {
  analysis::ProgressChannel& channel = recovery.Channel();
  channel.reset();
  channel.setDatabaseName(platform::FileTitle(path));
  channel.setStatusObserver([&console](const std::string& text) { console.statusChanged(text); });
  platform::InstallMessageSink(&console);

  analysis::ProgressLoops loops(channel, console);
  loops.start();
  const bool ok = recovery.Analyze(path);
  if (ok) {
    channel.done = 1;
    channel.recoveryTblEvent.set();
  }
  loops.stop();

  platform::InstallMessageSink(nullptr);
  channel.setStatusObserver(nullptr);
  console.finish();
  return ok;
}

}  // namespace cli
