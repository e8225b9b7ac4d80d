#include "shell/file_stream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <tuple>

#include "support/temp_folder.h"

namespace {
std::string Stored(uint32_t length, const std::string& chars) {
  std::string bytes(4, 0);
  for (int i = 0; i < 4; ++i) bytes[i] = char(length >> (8 * i));
  return bytes + chars;
}
}  // namespace

TEST(FileReader, OpensRegularFilesOnlyAndReportsSizes) {
  TempFolder folder;
  folder.write("empty", "");
  folder.write("five", "12345");
  FileReader empty(folder.file("empty").c_str());
  char buffer[8];
  EXPECT_EQ(std::tuple(empty.isOpen(), empty.size(), empty.read(buffer, 8)), std::tuple(true, 0u, 0u));

  FileReader five(folder.file("five").c_str());
  EXPECT_EQ(five.size(), 5u);
  EXPECT_EQ(five.seek(3), 3u);
  EXPECT_EQ(five.read(buffer, 8), 2u) << "a short read returns what was there";
  EXPECT_EQ(five.seek(100), 5u) << "seeking past the end stops at the end";
  five.seek(2);
  EXPECT_EQ(five.readString(buffer, sizeof buffer), 0u) << "3 bytes left cannot make a string's length";

  FileReader missing(folder.file("nothing").c_str());
  EXPECT_EQ(std::tuple(missing.isOpen(), missing.size(), missing.seek(4), missing.read(buffer, 4),
                       missing.readString(buffer, sizeof buffer)), std::tuple(false, 0u, 0u, 0u, 0u));

  FileReader directory(folder.path.c_str());
  EXPECT_FALSE(directory.isOpen()) << "a folder is not a file";
  ASSERT_EQ(mkfifo(folder.file("pipe").c_str(), 0600), 0);
  FileReader pipe(folder.file("pipe").c_str());
  EXPECT_FALSE(pipe.isOpen()) << "a FIFO would block the game";
}

TEST(FileReader, ReadStringKeepsWithinItsBufferAndRefusesDamage) {
  TempFolder folder;
  folder.write("strings", Stored(4, std::string("abc\0", 4)) + Stored(10, std::string("123456789\0", 10)) +
                              Stored(0, "") + "tail");
  FileReader reader(folder.file("strings").c_str());
  char buffer[6];
  bool truncated = true;
  EXPECT_EQ(reader.readString(buffer, sizeof buffer, &truncated), 4u);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_FALSE(truncated);
  EXPECT_EQ(reader.readString(buffer, sizeof buffer, &truncated), 10u);
  EXPECT_STREQ(buffer, "12345") << "at most capacity - 1 characters, always terminated";
  EXPECT_TRUE(truncated);
  EXPECT_EQ(reader.tell(), 22u) << "the rest of the long string is skipped";
  EXPECT_EQ(reader.readString(buffer, sizeof buffer), 0u) << "length 0 is damaged";
  EXPECT_EQ(reader.tell(), reader.size());

  folder.write("long", Stored(1000, "short"));
  FileReader past(folder.file("long").c_str());
  EXPECT_EQ(past.readString(buffer, sizeof buffer), 0u) << "a length past the end is damaged";
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(past.tell(), past.size());
}

TEST(FileWriter, WritesLittleEndianAndReportsFailures) {
  TempFolder folder;
  {
    FileWriter writer(folder.file("out").c_str());
    ASSERT_TRUE(writer.isOpen());
    const uint8_t word[4] = {1, 2, 3, 4};
    const float one = 1.0f;
    EXPECT_TRUE(writer.write(word, 4) && writer.writeString("hi") && writer.write(&one, 4) && writer.finish());
  }
  EXPECT_EQ(folder.read("out"), std::string("\x01\x02\x03\x04\x03\0\0\0hi\0\0\0\x80\x3f", 15));

  FileWriter nowhere(folder.file("no/such/folder/out").c_str());
  EXPECT_EQ(std::tuple(nowhere.isOpen(), nowhere.write("x", 1), nowhere.finish()), std::tuple(false, false, false))
      << "a write that went nowhere is not a success";

  if (access("/dev/full", W_OK) == 0) {
    FileWriter full("/dev/full");
    std::string block(1 << 16, 'x');
    bool ok = full.write(block.data(), uint32_t(block.size())) && full.write(block.data(), uint32_t(block.size()));
    EXPECT_FALSE(ok && full.finish()) << "a full disk must be reported";
  }
}
