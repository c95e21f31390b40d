// A small database made in code for record-decoding tests: written to a private folder,
// opened and scanned with a channel of its own that needs no window side.
#pragma once

#include <memory>
#include <string>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "analysis/progress_channel.h"
#include "tests/support/corpus.h"
#include "tests/support/page_builder.h"

namespace testsupport {

analysis::Column FixedColumn(const std::string& name, int type, int number, int fixedOffset, int length);
analysis::Column VariableColumn(const std::string& name, int type, int number, int variableIndex, int length = 0);

class RecordFixture {
 public:
  RecordFixture();
  ~RecordFixture();

  // Writes the file, opens it and fills the page map; the table's pages stay the test's choice.
  void open(const FileBuilder& file);
  // Loads one page into the table's page buffer as record retrieval would.
  void loadPage(const std::vector<uint8_t>& page);
  // Sizes g_rowFields for the table, as the callers of the decoder do.
  void prepareFields();
  // Puts the row alone on a data page, loads it and decodes it (DecodeRow's result).
  int decodeAlone(const std::vector<uint8_t>& row, std::string& text);

  analysis::ProgressChannel& channel() { return *channel_; }
  analysis::MdbRecovery& recovery() { return *recovery_; }
  const TempFolder& folder() const { return folder_; }
  std::string oleFolder() const { return folder_.file("ole"); }

  analysis::Table table;

 private:
  TempFolder folder_;
  std::unique_ptr<analysis::ProgressChannel> channel_;
  std::unique_ptr<analysis::MdbRecovery> recovery_;
};

}  // namespace testsupport
