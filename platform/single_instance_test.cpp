// The single-instance lock: a second holder of the same name is refused until the first ends.
#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <unistd.h>

TEST(SingleInstanceTest, SecondHolderIsRefusedUntilTheFirstEnds) {
  const std::string name = "tessaly-test-" + std::to_string(::getpid());
  std::string lockPath;
  {
    platform::SingleInstance first(name);
    lockPath = first.lockPath();
    ASSERT_FALSE(first.alreadyRunning());
    platform::SingleInstance second(name);
    EXPECT_TRUE(second.alreadyRunning());
    platform::SingleInstance otherName(name + "-other");
    EXPECT_FALSE(otherName.alreadyRunning());
    ::unlink(otherName.lockPath().c_str());
  }
  platform::SingleInstance afterwards(name);
  EXPECT_FALSE(afterwards.alreadyRunning());
  ::unlink(lockPath.c_str());
}
