#include "shell/config.h"

#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "shell/display.h"
#include "shell/log.h"
#include "shell/saturate.h"

constexpr int kTextLimit = 40;
constexpr int kMinScreen = 320, kMaxScreen = 16384;

static bool ReadChar(FileReader& reader, char* c) {
  if (reader.tell() >= reader.size()) return false;
  return reader.read(c, 1) == 1;
}

static void PutBack(FileReader& reader) { reader.seek(reader.tell() - 1); }

static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

static void Append(Token& token, int* length, char c) {
  if (*length < kTextLimit) token.text[(*length)++] = c;
  token.text[*length] = 0;
}

static void Begin(Token& token, uint32_t kind) {
  token.kind = kind;
  token.text[0] = 0;
  token.integer = 0;
  token.real = 0;
  token.character = 0;
}

const Token& NextToken(ConfigLexer& lexer) {
  Token& token = lexer.token;
  if (!lexer.reader) {
    token.kind = TokenEnd;
    return token;
  }
  FileReader& reader = *lexer.reader;
  char c;
  for (;;) {
    if (!ReadChar(reader, &c)) {
      token.kind = TokenEnd;
      return token;
    }
    if ((unsigned char)c <= 32) continue;
    if (c != '/') break;
    char next;
    if (!ReadChar(reader, &next)) continue;       // a "/" at the very end is skipped
    if (next != '/') {
      PutBack(reader);
      Begin(token, TokenPunctuation);
      token.character = '/';
      return token;
    }
    while (ReadChar(reader, &next) && next != '\n' && next != '\r') {}
  }
  int length = 0;
  if (IsLetter(c)) {
    Begin(token, TokenIdentifier);
    Append(token, &length, c);
    while (ReadChar(reader, &c)) {
      if (!IsLetter(c) && !IsDigit(c)) {
        PutBack(reader);
        break;
      }
      Append(token, &length, c);
    }
  } else if (IsDigit(c)) {
    Begin(token, TokenInteger);
    Append(token, &length, c);
    // The character that ends the number is consumed.
    while (ReadChar(reader, &c)) {
      if (c == '.' && token.kind == TokenInteger) token.kind = TokenReal;
      else if (!IsDigit(c)) break;
      Append(token, &length, c);
    }
    double value = strtod(token.text, nullptr);
    token.real = float(value);
    token.integer = SaturateToInt(value);
  } else if (c == '"') {
    Begin(token, TokenString);
    while (ReadChar(reader, &c) && c != '"') Append(token, &length, c);
    double value = strtod(token.text, nullptr);
    token.real = float(value);
    token.integer = SaturateToInt(value);
  } else {
    Begin(token, TokenPunctuation);
    token.character = c;
  }
  return token;
}

// Searches the key from the start of the file; true with the value as the current token.
static bool FindKey(ConfigLexer& lexer, const char* key) {
  lexer.reader->seek(0);
  for (;;) {
    const Token& token = NextToken(lexer);
    if (token.kind == TokenEnd) return false;
    if (strcmp(token.text, key) == 0) break;
  }
  if (NextToken(lexer).character == '=') NextToken(lexer);
  return true;
}

static bool IsIdentifier(const Token& token, const char* text) {
  return token.kind == TokenIdentifier && strcmp(token.text, text) == 0;
}

// An absent key keeps its default; a size no window can have is logged and replaced.
static int ScreenSizeKey(ConfigLexer& lexer, const char* key, int fallback) {
  if (!FindKey(lexer, key)) return fallback;
  int value = lexer.token.integer;
  if (value < kMinScreen || value > kMaxScreen) {
    Log("%s = %d is out of range %d..%d, using %d", key, value, kMinScreen, kMaxScreen, fallback);
    return fallback;
  }
  return value;
}

void ApplyConfig(FileReader& reader) {
  ConfigLexer lexer{&reader, {}};
  bool vsync = FindKey(lexer, "vsync") && IsIdentifier(lexer.token, "true");
  int width = ScreenSizeKey(lexer, "screen_width", 1024);
  int height = ScreenSizeKey(lexer, "screen_height", 768);
  bool autodetect = FindKey(lexer, "screen_resolution_mode") && strcmp(lexer.token.text, "autodetect") == 0;
  int bpp = FindKey(lexer, "BPP") ? lexer.token.integer : 32;
  bool fullscreen = FindKey(lexer, "fullscreen") && IsIdentifier(lexer.token, "true");
  int desktopWidth, desktopHeight;
  if (autodetect && Platform().desktopSize(&desktopWidth, &desktopHeight)) {
    width = desktopWidth;
    height = desktopHeight;
    fullscreen = false;
  }
  SetFullscreen(fullscreen);
  Log(fullscreen ? "set to fullscreen" : "set to windowed");
  SetScreenWidth(width);
  Log("width set to %d", width);
  SetScreenHeight(height);
  Log("height set to %d", height);
  SetColourDepth(bpp);
  if (fullscreen) Log("BPP set to %d", bpp);
  SetVsync(vsync);
  Log(vsync ? "vsync enabled" : "vsync disabled");
  Log("------------config ok-------------");
}

void ReadConfig() {
  FileReader reader("config.cfg");
  Log("-----------exec config.cfg-----------");
  ApplyConfig(reader);
}
