// Names of the recovered-rows tables: never one a table of the export has, in any ASCII case.
#include "export/recovered_export.h"

#include <gtest/gtest.h>

namespace {

TEST(RecoveredTableNameTest, TakesNoNameOfTheExport) {
  std::set<std::string> taken{"ORDERS", "ORDERS_DELETED", "ORDERS_DELETED (2)"};
  EXPECT_EQ(exporter::RecoveredTableName("Orders", taken), "Orders_deleted (3)");
  EXPECT_EQ(exporter::RecoveredTableName("Items", taken), "Items_deleted");
  EXPECT_EQ(exporter::RecoveredTableName("items", taken), "items_deleted (2)");  // the one just taken
}

}  // namespace
