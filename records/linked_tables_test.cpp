// The password of a stored connect string never leaves the program.
#include "records/linked_tables.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkedTablesTest, PasswordsInConnectStringsAreMasked) {
  const std::pair<const char*, const char*> cases[] = {
      {"DSN=x;UID=u;PWD=secret;APP=a", "DSN=x;UID=u;PWD=***;APP=a"},
      {"ODBC;pwd=secret", "ODBC;pwd=***"},
      {"PWD=secret", "PWD=***"},
      {"DSN=x;PWD={se;cret};DATABASE=d", "DSN=x;PWD=***;DATABASE=d"},
      {"DSN=x;PWD={unclosed", "DSN=x;PWD=***"},
      {"DSN=x;PWD=a;Pwd=b", "DSN=x;PWD=***;Pwd=***"},
      {"DSN=x;OLDPWD=keep;PWD=", "DSN=x;OLDPWD=keep;PWD=***"},
      {";DATABASE=C:\\data\\back.mdb", ";DATABASE=C:\\data\\back.mdb"},
      {"", ""},
  };
  for (const auto& [connect, masked] : cases) EXPECT_EQ(records::MaskConnectPassword(connect), masked) << connect;
}

}  // namespace
