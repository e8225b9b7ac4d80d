#include "shell/config.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "shell/display.h"
#include "shell/log.h"
#include "support/temp_folder.h"

namespace {

// Each token as kind:value, space-separated: I identifier, S string (and its integer),
// N integer, R real (and its integer), P punctuation.
std::string Lex(const std::string& text) {
  ConfigLexer lexer{text, 0, {}};
  std::string tokens;
  for (int i = 0; i < 100; ++i) {
    const Token& t = NextToken(lexer);
    if (t.kind == TokenEnd) break;
    const std::string value = t.kind == TokenIdentifier ? std::string(t.text)
                              : t.kind == TokenString   ? std::string(t.text) + "=" + std::to_string(t.integer)
                              : t.kind == TokenInteger  ? std::to_string(t.integer)
                              : t.kind == TokenReal     ? std::to_string(t.real) + "=" + std::to_string(t.integer)
                                                        : std::string(1, t.character);
    tokens += (tokens.empty() ? "" : " ") + std::string(1, "ISNRP"[t.kind]) + ":" + value;
  }
  return tokens;
}

// What the config decided, in one tuple: depth, width, height, vsync, fullscreen.
auto Settings() { return std::tuple(ColourDepth(), ScreenWidth(), ScreenHeight(), Vsync(), Fullscreen()); }

void Apply(const std::string& text) {
  TempFolder folder;
  folder.write("config.cfg", text);
  FileReader reader(folder.file("config.cfg").c_str());
  ApplyConfig(reader);
}

// Counts what the config reader asks of the file.
struct CountingReader : FileReader {
  using FileReader::FileReader;
  uint32_t read(void* buffer, uint32_t count) override {
    ++reads;
    const uint32_t got = FileReader::read(buffer, count);
    bytes += got;
    return got;
  }
  uint64_t reads = 0, bytes = 0;
};

}  // namespace

TEST(ConfigLexer, TokenKindsValuesAndComments) {
  EXPECT_EQ(Lex("a/b // hidden key\r\nwidth=1024.9 \"12px\" x_1 ;"),
            "I:a P:/ I:b I:width P:= R:" + std::to_string(1024.9f) + "=1024 S:12px=12 I:x_1 P:;");
  // The character ending a number is eaten: "12;" gives one token, the ";" is gone. Text is cut
  // to 40 characters; a 20-digit number saturates.
  EXPECT_EQ(Lex("12;x " + std::string(60, 'q') + " 99999999999999999999"),
            "N:12 I:x I:" + std::string(40, 'q') + " N:" + std::to_string(INT32_MAX));
  EXPECT_EQ(Lex("/"), "") << "a lone slash at the end is skipped";
  EXPECT_EQ(Lex("// only a comment"), "") << "a comment may run to the end of the file";
}

TEST(ConfigReading, KeysValuesAndDefaults) {
  Apply("vsync=true\nscreen_width = 800 screen_height 600\nBPP = 24\nfullscreen = true\n");
  EXPECT_EQ(Settings(), std::tuple(16, 800, 600, true, true));

  Apply("vsync = TRUE\nfullscreen \"true\"\nBPP = 4\n// screen_width = 640\n");
  EXPECT_EQ(Settings(), std::tuple(8, 1024, 768, false, false))
      << "TRUE is not true, a quoted true is a string, a key inside a comment is absent: default";

  Apply("screen_width = 1024.9\nscreen_height = 100\n");
  EXPECT_EQ(std::pair(ScreenWidth(), ScreenHeight()), std::pair(1024, 768)) << "below 320 is replaced by the default";
  Apply("screen_width = 20000 screen_height = abc");
  EXPECT_EQ(std::tuple(ScreenWidth(), ScreenHeight(), ColourDepth()), std::tuple(1024, 768, 32)) << "absent BPP keeps 32";
}

TEST(ConfigReading, LongLineIsReadOnceAndSkipped) {
  // A 20 MB line, once read byte by byte and once per key: now one read, and the keys after it count.
  const std::string longLine = "screen_width = 640 // " + std::string(20 << 20, 'x') + "\n";
  TempFolder folder;
  folder.write("config.cfg", "BPP = 16\n" + longLine + "screen_height = 600\nvsync = true\n");
  static std::vector<std::string> heard;
  heard.clear();
  SetLogListener([](const char* line) { heard.push_back(line); });
  CountingReader reader(folder.file("config.cfg").c_str());
  ApplyConfig(reader);
  SetLogListener(nullptr);
  EXPECT_EQ(reader.bytes, reader.size()) << "every byte is read once";
  EXPECT_LE(reader.reads, 2u);
  EXPECT_EQ(std::tuple(ColourDepth(), ScreenWidth(), ScreenHeight(), Vsync()), std::tuple(16, 1024, 600, true));
  EXPECT_EQ(std::count(heard.begin(), heard.end(),
                       "config.cfg line 2 is " + std::to_string(longLine.size()) + " bytes long, over 1024: skipped"),
            1);
  Apply("screen_width = 800 //" + std::string(kMaxConfigLine - 22, ' ') + "\n");
  EXPECT_EQ(ScreenWidth(), 800) << "a line of exactly the limit is read";
  std::string crOnly = "screen_width = 900\r";
  for (int i = 0; i < 100; ++i) crOnly += "// a comment\r";
  Apply(crOnly + "screen_height = 700\r");
  EXPECT_EQ(std::pair(ScreenWidth(), ScreenHeight()), std::pair(900, 700)) << "lines may end in a lone \\r";
}

TEST(ConfigReading, WindowIsClampedToTheDesktop) {
  const PlatformServices saved = Platform();
  Platform().desktopSize = [](int* width, int* height) { return *width = 1280, *height = 1024, true; };
  const std::pair<const char*, std::pair<int, int>> cases[] = {
      {"screen_width = 16384 screen_height = 16384", {1280, 1024}},
      {"screen_width = 2000 screen_height = 700", {1280, 700}},
      {"screen_width = 640 screen_height = 480", {640, 480}}};
  for (const auto& [text, size] : cases) {
    Apply(text);
    EXPECT_EQ(std::pair(ScreenWidth(), ScreenHeight()), size) << text;
  }
  Platform().desktopSize = [](int*, int*) { return false; };
  Apply(cases[0].first);
  EXPECT_EQ(ScreenWidth(), 16384) << "an unknown desktop leaves the size as asked";
  Platform() = saved;
}
