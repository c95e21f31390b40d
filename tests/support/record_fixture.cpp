// Record-decoding test fixture.
#include "tests/support/record_fixture.h"

#include "records/ole_files.h"
#include "records/row_decoder.h"

namespace testsupport {

analysis::Column FixedColumn(const std::string& name, int type, int number, int fixedOffset, int length) {
  analysis::Column column;
  column.name = name;
  column.type = type;
  column.columnNumber = number;
  column.isFixed = true;
  column.fixedOffset = fixedOffset;
  column.length = length;
  return column;
}

analysis::Column VariableColumn(const std::string& name, int type, int number, int variableIndex, int length) {
  analysis::Column column;
  column.name = name;
  column.type = type;
  column.columnNumber = number;
  column.isFixed = false;
  column.variableIndex = variableIndex;
  column.length = length;
  return column;
}

RecordFixture::RecordFixture()
    : channel_(std::make_unique<analysis::ProgressChannel>()),
      recovery_(std::make_unique<analysis::MdbRecovery>(*channel_)) {
  channel_->setUnattended(true);
  records::SetOleFilesFolder(oleFolder());
  analysis::g_pageMap.clear();
  analysis::g_rowFields.clear();
}

RecordFixture::~RecordFixture() {
  records::SetOleFilesFolder("");
  recovery_.reset();
  analysis::g_pageMap.clear();
  analysis::g_rowFields.clear();
}

void RecordFixture::open(const FileBuilder& file) {
  const std::string path = folder_.file("db.mdb");
  file.write(path);
  recovery_->OpenDatabaseFile(path);
  recovery_->ScanPages();
}

void RecordFixture::loadPage(const std::vector<uint8_t>& page) {
  table.pageBuffer = page;
}

void RecordFixture::prepareFields() {
  analysis::g_rowFields.assign(table.maxColumns, analysis::Field{});
}

int RecordFixture::decodeAlone(const std::vector<uint8_t>& row, std::string& text) {
  PageBuilder page = PageBuilder::DataPage(2);
  page.addRow(row);
  loadPage(page.page());
  prepareFields();
  const int64_t start = kTestPageSize - static_cast<int64_t>(row.size());
  return records::DecodeRow(*recovery_, table, start, kTestPageSize - 1, text);
}

}  // namespace testsupport
