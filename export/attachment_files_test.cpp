// Attachment files of a CSV export: where each file goes, how names are made safe and unique,
// that nothing is overwritten, and that a file that cannot be written is reported.
#include "export/attachment_files.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "records/type_names.h"
#include "tests/support/corpus.h"
#include "tests/support/log_capture.h"

namespace {

analysis::Column attachmentColumn(const std::string& name, int32_t number) {
  analysis::Column column;
  column.name = name;
  column.columnNumber = number;
  column.type = records::kTypeAttachment;
  return column;
}

support::Value files(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& entries) {
  support::Value value;
  value.kind = support::ValueKind::kAttachments;
  for (const auto& [name, data] : entries) value.attachments.push_back({name, "", data});
  return value;
}

// Each stored name -> the path it is written to and listed under, and the bytes in that file.
TEST(AttachmentFilesTest, NamesBecomeSafeUniquePaths) {
  const std::vector<uint8_t> a{'a'}, b{'b', 0, 0xff}, c{}, d{'d'};
  struct Case {
    const char* what;
    std::string name;
    std::vector<uint8_t> data;
    std::string path;  // relative to the export folder
  };
  const std::string folder = "Attachments/T/Files/3/";
  const Case cases[] = {
      {"plain", "report.pdf", a, folder + "report.pdf"},
      {"same name again: numbered before the extension", "report.pdf", b, folder + "report (2).pdf"},
      {"and again", "report.pdf", c, folder + "report (3).pdf"},
      {"slashes cannot leave the folder", "../../etc/passwd", d, folder + ".._.._etc_passwd"},
      {"a parent folder's name", "..", a, folder + "_.."},
      {"the folder's own name", ".", a, folder + "_."},
      {"no name", "", b, folder + "_"},
      {"control characters", "tab\there\n", a, folder + "tab_here_"},
      {"other scripts kept", "\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82 \xE6\x8A\xA5\xE5\x91\x8A.txt", b,
       folder + "\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82 \xE6\x8A\xA5\xE5\x91\x8A.txt"},
      {"a leading dot is no extension", ".profile", a, folder + ".profile"},
      {"a leading dot again", ".profile", d, folder + ".profile (2)"},
  };
  testsupport::TempFolder out;
  exporter::AttachmentFiles attachments(out.path(), "T");
  std::vector<std::pair<std::string, std::vector<uint8_t>>> entries;
  std::string expectedCell;
  for (const auto& c : cases) {
    entries.push_back({c.name, c.data});
    expectedCell += (expectedCell.empty() ? "" : "\n") + c.path;
  }
  EXPECT_EQ(attachments.write(attachmentColumn("Files", 4), 3, files(entries)), expectedCell);
  for (const auto& c : cases) {
    EXPECT_TRUE(platform::FileExists(out.file(c.path))) << c.what;
    EXPECT_EQ(testsupport::ReadWholeFile(out.file(c.path)), c.data) << c.what;
  }
  EXPECT_EQ(platform::ListFolder(out.file(folder)).size(), std::size(cases));
  EXPECT_FALSE(attachments.failed());
}

// Records and columns get folders of their own; columns whose names clean up alike are kept
// apart; a file already there (from anything else) is never replaced; no files, no folder.
TEST(AttachmentFilesTest, FoldersPerColumnAndRecordNeverOverwrite) {
  testsupport::TempFolder out;
  testsupport::CreateFolderForTest(out.file("Attachments"));
  testsupport::CreateFolderForTest(out.file("Attachments/T"));
  testsupport::CreateFolderForTest(out.file("Attachments/T/a_b"));
  testsupport::CreateFolderForTest(out.file("Attachments/T/a_b/1"));
  testsupport::WriteWholeFile(out.file("Attachments/T/a_b/1/x.txt"), {'o', 'l', 'd'});

  exporter::AttachmentFiles attachments(out.path(), "T");
  const auto slash = attachmentColumn("a/b", 1), underscore = attachmentColumn("a_b", 2);
  EXPECT_EQ(attachments.write(slash, 1, files({{"x.txt", {'1'}}})), "Attachments/T/a_b/1/x (2).txt");
  EXPECT_EQ(attachments.write(underscore, 1, files({{"x.txt", {'2'}}})), "Attachments/T/a_b (2)/1/x.txt");
  EXPECT_EQ(attachments.write(slash, 2, files({{"x.txt", {'3'}}})), "Attachments/T/a_b/2/x.txt");
  EXPECT_EQ(attachments.write(slash, 3, files({})), "");
  EXPECT_EQ(testsupport::ReadWholeFile(out.file("Attachments/T/a_b/1/x.txt")), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(testsupport::ReadWholeFile(out.file("Attachments/T/a_b/1/x (2).txt")), (std::vector<uint8_t>{'1'}));
  EXPECT_EQ(testsupport::ReadWholeFile(out.file("Attachments/T/a_b (2)/1/x.txt")), (std::vector<uint8_t>{'2'}));
  EXPECT_EQ(testsupport::ReadWholeFile(out.file("Attachments/T/a_b/2/x.txt")), (std::vector<uint8_t>{'3'}));
  EXPECT_FALSE(platform::FolderExists(out.file("Attachments/T/a_b/3")));
  EXPECT_FALSE(attachments.failed());
}

// A folder that cannot be made (a file stands in its place): the failure is logged, the cell
// keeps the stored name, and failed() says so.
TEST(AttachmentFilesTest, UnwritableFileIsLoggedAndFails) {
  testsupport::LogCapture log;
  testsupport::TempFolder out;
  testsupport::WriteWholeFile(out.file("Attachments"), {'x'});
  exporter::AttachmentFiles attachments(out.path(), "T");
  EXPECT_EQ(attachments.write(attachmentColumn("Files", 1), 7, files({{"a.txt", {'a'}}, {"b.txt", {'b'}}})),
            "a.txt\nb.txt");
  EXPECT_TRUE(attachments.failed());
  const auto errors = log.errorMessages();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_NE(errors[0].find("a.txt"), std::string::npos) << errors[0];
  EXPECT_NE(errors[0].find("record 7"), std::string::npos) << errors[0];
}

// The CSV field: an attachment value becomes its paths (quoted: one per line), others stay
// as csv_rules write them.
TEST(AttachmentFilesTest, CsvFieldOfAttachmentsAndOtherValues) {
  testsupport::TempFolder out;
  exporter::AttachmentFiles attachments(out.path(), "T");
  std::string line;
  exporter::AppendCsvField(attachments, attachmentColumn("F", 1), 1, files({{"a", {1}}, {"b", {2}}}), line);
  line += ',';
  exporter::AppendCsvField(attachments, attachmentColumn("F", 1), 2, files({}), line);
  line += ',';
  support::Value text;
  text.kind = support::ValueKind::kText;
  text.text = "x, y";
  analysis::Column textColumn;
  textColumn.type = records::kTypeText;
  exporter::AppendCsvField(attachments, textColumn, 1, text, line);
  EXPECT_EQ(line, "\"Attachments/T/F/1/a\nAttachments/T/F/1/b\",\"\",\"x, y\"");
}

}  // namespace
