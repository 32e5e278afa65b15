#include <gtest/gtest.h>

#include <QGuiApplication>

#include "tests/support/offscreen_env.h"

int main(int argc, char** argv) {
  UseOffscreenPlatformUnlessSet();
  UseTemporaryUserFolders();
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
