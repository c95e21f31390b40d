// OLE objects of a CSV export are copied beside the tables and referred to relatively.
#include "export/object_folder.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "tests/support/corpus.h"

namespace {

TEST(ObjectFolderTest, CopiesIntoObjectsWithAPlainName) {
  testsupport::TempFolder temp, exportFolder;
  testsupport::WriteWholeFile(temp.file("Ole7.bmp"), {'B', 'M', 1, 2});
  testsupport::WriteWholeFile(temp.file("Ole8.it's, odd"), {'x'});
  exporter::ObjectFolder objects(exportFolder.path());

  EXPECT_EQ(objects.place(temp.file("Ole7.bmp")), "Objects/Ole7.bmp");
  EXPECT_EQ(testsupport::ReadWholeFile(exportFolder.file("Objects/Ole7.bmp")), (std::vector<uint8_t>{'B', 'M', 1, 2}));
  EXPECT_EQ(objects.place(temp.file("Ole8.it's, odd")), "Objects/Ole8.it_s__odd");
  EXPECT_TRUE(platform::FileExists(exportFolder.file("Objects/Ole8.it_s__odd")));

  EXPECT_EQ(objects.place(temp.file("missing.ole")), "");
  EXPECT_EQ(objects.place(""), "");
  EXPECT_EQ(objects.place(temp.path()), "") << "a folder is not an object file";
}

}  // namespace
