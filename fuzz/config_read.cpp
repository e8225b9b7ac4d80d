// config.cfg: the reader takes any bytes, straight from memory.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/config.h"
#include "shell/display.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ApplyConfigText(text);
  const int depth = ColourDepth();
  if (depth != 8 && depth != 16 && depth != 32) abort();
  if (ScreenWidth() < 320 || ScreenHeight() < 320) abort();
  ConfigLexer lexer{text, 0, {}};
  for (size_t tokens = 0; NextToken(lexer).kind != TokenEnd; ++tokens)
    if (tokens > size + 1) abort();   // every token takes at least one byte
  return 0;
}
