#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/platform.h"

// The services with no window started, as a headless tool sees them.
namespace {

int installedKeyReads = 0;

TEST(HeadlessPlatform, DefaultsNeedNoDisplay) {
  PlatformServices headless = RealPlatform();
  uint8_t keys[256];
  memset(keys, 0x80, sizeof keys);
  headless.readKeys(keys);
  for (uint8_t key : keys) ASSERT_EQ(key, 0);
  int x = 5, y = 6;
  headless.readCursor(&x, &y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  std::string chosen = "left over";
  EXPECT_FALSE(headless.fileDialog({false, "LOAD track", nullptr, 0, "track"}, &chosen));
  EXPECT_EQ(chosen, "");
  int width = 0, height = 0;
  EXPECT_FALSE(headless.desktopSize(&width, &height));
  uint32_t first = headless.clock(1000000);
  uint32_t second = headless.clock(1000000);
  EXPECT_LE(second - first, 1000000u) << "microseconds, monotonic: two reads in a row are close";
  LocalTime now = headless.localTime();
  EXPECT_GE(now.year, 2024);
  EXPECT_LE(now.month, 11);
}

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
