#include <gtest/gtest.h>

#include "tests/support/offscreen_env.h"

int main(int argc, char** argv) {
  UseOffscreenPlatformUnlessSet();
  UseTemporaryUserFolders();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
