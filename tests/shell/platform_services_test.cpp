#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"

// Installing a started window's services over a table a test has already changed.
namespace {

int installedKeyReads = 0;

TEST(HeadlessPlatform, InstallingKeepsTheEntriesATestReplaced) {
  PlatformServices savedSystem = RealPlatform();
  PlatformServices savedTable = Platform();
  auto fakeCursor = [](int* x, int* y) { *x = 40, *y = 50; };
  Platform().readCursor = fakeCursor;
  PlatformServices installed = savedSystem;
  installed.readKeys = [](uint8_t keys[256]) { memset(keys, 0, 256), ++installedKeyReads; };
  installed.readCursor = [](int* x, int* y) { *x = *y = -1; };
  InstallPlatformServices(installed);
  uint8_t keys[256];
  Platform().readKeys(keys);
  int x = 0, y = 0;
  Platform().readCursor(&x, &y);
  EXPECT_EQ(installedKeyReads, 1) << "a default entry takes the installed one";
  EXPECT_EQ(x, 40) << "a replaced entry stays";
  RealPlatform().readCursor(&x, &y);
  EXPECT_EQ(x, -1) << "the system's own services are the installed ones";
  InstallPlatformServices(savedSystem);
  Platform() = savedTable;
}

}  // namespace
