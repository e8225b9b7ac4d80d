#include "shell/config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/display.h"
#include "support/temp_folder.h"

namespace {

struct Lexed {
  uint32_t kind;
  std::string text;
  int integer;
  float real;
  char character;
};

std::vector<Lexed> Lex(const std::string& text) {
  TempFolder folder;
  folder.write("in.cfg", text);
  FileReader reader(folder.file("in.cfg").c_str());
  ConfigLexer lexer{&reader, {}};
  std::vector<Lexed> tokens;
  for (int i = 0; i < 100; ++i) {
    const Token& t = NextToken(lexer);
    if (t.kind == TokenEnd) break;
    tokens.push_back({t.kind, t.text, t.integer, t.real, t.character});
  }
  return tokens;
}

void Apply(const std::string& text) {
  TempFolder folder;
  folder.write("config.cfg", text);
  FileReader reader(folder.file("config.cfg").c_str());
  ApplyConfig(reader);
}

}  // namespace

TEST(ConfigLexer, TokenKindsValuesAndComments) {
  auto tokens = Lex("a/b // hidden key\r\nwidth=1024.9 \"12px\" x_1 ;");
  ASSERT_EQ(tokens.size(), 9u);
  EXPECT_EQ(tokens[0].kind, TokenIdentifier);
  EXPECT_EQ(tokens[0].text, "a");
  EXPECT_EQ(tokens[1].kind, TokenPunctuation);
  EXPECT_EQ(tokens[1].character, '/');
  EXPECT_EQ(tokens[2].text, "b");
  EXPECT_EQ(tokens[3].text, "width");
  EXPECT_EQ(tokens[4].character, '=');
  EXPECT_EQ(tokens[5].kind, TokenReal);
  EXPECT_EQ(tokens[5].integer, 1024);
  EXPECT_FLOAT_EQ(tokens[5].real, 1024.9f);
  EXPECT_EQ(tokens[6].kind, TokenString);
  EXPECT_EQ(tokens[6].text, "12px");
  EXPECT_EQ(tokens[6].integer, 12);
  EXPECT_EQ(tokens[7].text, "x_1");
  EXPECT_EQ(tokens[8].character, ';');
}

TEST(ConfigLexer, NumbersConsumeTheirEndAndLongTextIsCut) {
  // The character ending a number is eaten: "12;" gives one token, the ";" is gone.
  auto tokens = Lex("12;x " + std::string(60, 'q') + " 99999999999999999999");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[0].integer, 12);
  EXPECT_EQ(tokens[1].text, "x");
  EXPECT_EQ(tokens[2].text, std::string(40, 'q'));
  EXPECT_EQ(tokens[3].integer, INT32_MAX) << "a 20-digit number saturates";
  EXPECT_TRUE(Lex("/").empty()) << "a lone slash at the end is skipped";
  EXPECT_TRUE(Lex("// only a comment").empty());
}

TEST(ConfigReading, KeysValuesAndDefaults) {
  Apply("vsync=true\nscreen_width = 800 screen_height 600\nBPP = 24\nfullscreen = true\n");
  EXPECT_TRUE(Vsync());
  EXPECT_EQ(ScreenWidth(), 800);
  EXPECT_EQ(ScreenHeight(), 600);
  EXPECT_EQ(ColourDepth(), 16);
  EXPECT_TRUE(Fullscreen());

  Apply("vsync = TRUE\nfullscreen \"true\"\nBPP = 4\n// screen_width = 640\n");
  EXPECT_FALSE(Vsync()) << "TRUE is not true";
  EXPECT_FALSE(Fullscreen()) << "a quoted true is a string";
  EXPECT_EQ(ColourDepth(), 8);
  EXPECT_EQ(ScreenWidth(), 1024) << "a key inside a comment is absent: default";
  EXPECT_EQ(ScreenHeight(), 768);

  Apply("screen_width = 1024.9\nscreen_height = 100\n");
  EXPECT_EQ(ScreenWidth(), 1024);
  EXPECT_EQ(ScreenHeight(), 768) << "below 320 is replaced by the default";
  Apply("screen_width = 20000 screen_height = abc");
  EXPECT_EQ(ScreenWidth(), 1024);
  EXPECT_EQ(ScreenHeight(), 768);
  EXPECT_EQ(ColourDepth(), 32) << "absent BPP keeps 32";

  FileReader missing("/nonexistent/config.cfg");
  ApplyConfig(missing);
  EXPECT_FALSE(Vsync());
  EXPECT_FALSE(Fullscreen());
  EXPECT_EQ(ScreenWidth(), 1024);
}
