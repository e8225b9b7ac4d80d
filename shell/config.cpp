#include "shell/config.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "shell/display.h"
#include "shell/log.h"
#include "shell/paths.h"
#include "shell/saturate.h"

constexpr int kTextLimit = 40;
constexpr int kMinScreen = 320, kMaxScreen = 16384;
constexpr int kMinFrameRate = 30, kMaxFrameRate = 1000;  // frames per second for max_fps

static bool ReadChar(ConfigLexer& lexer, char* c) {
  if (lexer.at >= lexer.text.size()) return false;
  *c = lexer.text[lexer.at++];
  return true;
}

static void PutBack(ConfigLexer& lexer) { --lexer.at; }

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
  char c;
  for (;;) {
    if (!ReadChar(lexer, &c)) {
      token.kind = TokenEnd;
      return token;
    }
    if ((unsigned char)c <= 32) continue;
    if (c != '/') break;
    char next;
    if (!ReadChar(lexer, &next)) continue;       // a "/" at the very end is skipped
    if (next != '/') {
      PutBack(lexer);
      Begin(token, TokenPunctuation);
      token.character = '/';
      return token;
    }
    while (ReadChar(lexer, &next) && next != '\n' && next != '\r') {}
  }
  int length = 0;
  if (IsLetter(c)) {
    Begin(token, TokenIdentifier);
    Append(token, &length, c);
    while (ReadChar(lexer, &c)) {
      if (!IsLetter(c) && !IsDigit(c)) {
        PutBack(lexer);
        break;
      }
      Append(token, &length, c);
    }
  } else if (IsDigit(c)) {
    Begin(token, TokenInteger);
    Append(token, &length, c);
    // The character that ends the number is consumed.
    while (ReadChar(lexer, &c)) {
      if (c == '.' && token.kind == TokenInteger) token.kind = TokenReal;
      else if (!IsDigit(c)) break;
      Append(token, &length, c);
    }
    double value = strtod(token.text, nullptr);
    token.real = float(value);
    token.integer = SaturateToInt(value);
  } else if (c == '"') {
    Begin(token, TokenString);
    while (ReadChar(lexer, &c) && c != '"') Append(token, &length, c);
    double value = strtod(token.text, nullptr);
    token.real = float(value);
    token.integer = SaturateToInt(value);
  } else {
    Begin(token, TokenPunctuation);
    token.character = c;
  }
  return token;
}

// The keys read, each with the token that holds its value: the first appearance of the key's
// text wins, and its value is the token after it, or after the "=" that follows it.
enum ConfigKey { KeyVsync, KeyWidth, KeyHeight, KeyMode, KeyBpp, KeyFullscreen, KeyMaxFps, KeyBorderless, KeyCount };
constexpr const char* kKeyNames[KeyCount] = {"vsync", "screen_width", "screen_height", "screen_resolution_mode",
                                             "BPP", "fullscreen", "max_fps", "borderless"};

struct ConfigValues {
  bool found[KeyCount] = {};
  Token value[KeyCount];
};

// One pass over the tokens. A key's value is read ahead and the lexer put back, so a value may
// itself be a key, as when every key was searched for from the start on its own.
static ConfigValues FindKeys(std::string_view text) {
  ConfigValues values;
  ConfigLexer lexer{text, 0, {}};
  while (NextToken(lexer).kind != TokenEnd) {
    for (int key = 0; key < KeyCount; ++key) {
      if (values.found[key] || strcmp(lexer.token.text, kKeyNames[key]) != 0) continue;
      const size_t resume = lexer.at;
      const Token keyToken = lexer.token;
      if (NextToken(lexer).character == '=') NextToken(lexer);
      values.found[key] = true;
      values.value[key] = lexer.token;
      lexer.at = resume;
      lexer.token = keyToken;
    }
  }
  return values;
}

// text without its lines over kMaxConfigLine bytes (line ends kept: "\n", "\r\n" or "\r"), each
// skipped line logged.
static std::string WithoutLongLines(std::string_view text) {
  std::string kept;
  kept.reserve(text.size() < (1u << 16) ? text.size() : (1u << 16));
  size_t line = 1;
  for (size_t start = 0; start < text.size(); ++line) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    else end += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    if (end - start > kMaxConfigLine)
      Log("config.cfg line %zu is %zu bytes long, over %zu: skipped", line, end - start, kMaxConfigLine);
    else
      kept.append(text.substr(start, end - start));
    start = end;
  }
  return kept;
}

static bool IsIdentifier(const Token& token, const char* text) {
  return token.kind == TokenIdentifier && strcmp(token.text, text) == 0;
}

// An absent key keeps its default; a value out of range is logged and replaced.
static int RangedKey(const ConfigValues& values, ConfigKey key, int low, int high, int fallback) {
  if (!values.found[key]) return fallback;
  int value = values.value[key].integer;
  if (value < low || value > high) {
    Log("%s = %d is out of range %d..%d, using %d", kKeyNames[key], value, low, high, fallback);
    return fallback;
  }
  return value;
}

// A window larger than the desktop cannot be shown whole, and costs memory and frame time for
// pixels nobody sees: it is cut to the desktop when its size is known.
static void ClampToDesktop(int* width, int* height) {
  int desktopWidth, desktopHeight;
  if (!Platform().desktopSize || !Platform().desktopSize(&desktopWidth, &desktopHeight)) return;
  if (desktopWidth <= 0 || desktopHeight <= 0) return;
  if (*width <= desktopWidth && *height <= desktopHeight) return;
  Log("window %dx%d is larger than the desktop %dx%d: clamped", *width, *height, desktopWidth, desktopHeight);
  if (*width > desktopWidth) *width = desktopWidth;
  if (*height > desktopHeight) *height = desktopHeight;
}

void ApplyConfigText(std::string_view text, std::string_view overrides) {
  ConfigValues values = FindKeys(WithoutLongLines(text));
  const ConfigValues own = FindKeys(WithoutLongLines(overrides));
  for (int key = 0; key < KeyCount; ++key)
    if (own.found[key]) {
      values.found[key] = true;
      values.value[key] = own.value[key];
    }
  const Token* value = values.value;
  bool vsync = values.found[KeyVsync] && IsIdentifier(value[KeyVsync], "true");
  int width = RangedKey(values, KeyWidth, kMinScreen, kMaxScreen, 1024);
  int height = RangedKey(values, KeyHeight, kMinScreen, kMaxScreen, 768);
  bool autodetect = values.found[KeyMode] && strcmp(value[KeyMode].text, "autodetect") == 0;
  int bpp = values.found[KeyBpp] ? value[KeyBpp].integer : 32;
  bool fullscreen = values.found[KeyFullscreen] && IsIdentifier(value[KeyFullscreen], "true");
  bool borderless = values.found[KeyBorderless] && IsIdentifier(value[KeyBorderless], "true");
  int maxFps = RangedKey(values, KeyMaxFps, kMinFrameRate, kMaxFrameRate, 0);
  int desktopWidth, desktopHeight;
  if (autodetect && Platform().desktopSize(&desktopWidth, &desktopHeight)) {
    width = desktopWidth;
    height = desktopHeight;
    fullscreen = false;
    borderless = true;
  }
  ClampToDesktop(&width, &height);
  SetFullscreen(fullscreen);
  Log(fullscreen ? "set to fullscreen" : "set to windowed");
  SetScreenWidth(width);
  Log("width set to %d", width);
  SetScreenHeight(height);
  Log("height set to %d", height);
  SetColourDepth(bpp);
  if (fullscreen) Log("BPP set to %d", bpp);
  SetBorderless(borderless && !fullscreen);
  if (borderless && !fullscreen) Log("window without a title bar");
  SetVsync(vsync);
  Log(vsync ? "vsync enabled" : "vsync disabled");
  SetFrameRateCap(maxFps);
  if (maxFps > 0) Log("frame rate capped at %d", maxFps);
  Log("------------config ok-------------");
}

static std::string WholeText(FileReader& reader) {
  std::string text(reader.size(), '\0');
  reader.seek(0);
  text.resize(reader.read(text.data(), uint32_t(text.size())));
  return text;
}

void ApplyConfig(FileReader& reader) { ApplyConfigText(WholeText(reader)); }

void ReadConfig() {
  const std::string shipped = std::string(DataFolder()) + "\\config.cfg";
  FileReader reader(shipped.c_str());
  Log("-----------exec config.cfg-----------");
  std::string overrides;
  if (ConfigFolder()[0]) {
    const std::string own = std::string(ConfigFolder()) + "\\config.cfg";
    FileReader ownReader(own.c_str());
    overrides = WholeText(ownReader);
    if (!overrides.empty()) Log("settings of %s take the place of the shipped ones", own.c_str());
  }
  ApplyConfigText(WholeText(reader), overrides);
}
