// config.cfg: a small tokeniser and the reader of the display settings.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "shell/file_stream.h"

enum TokenKind : uint32_t { TokenIdentifier = 0, TokenString = 1, TokenInteger = 2, TokenReal = 3,
                            TokenPunctuation = 4, TokenEnd = 7 };

struct Token {
  uint32_t kind = TokenEnd;
  char text[44] = {};                             // at most 40 characters and the zero
  int32_t integer = 0;
  float real = 0;
  char character = 0;                             // the punctuation character, else 0
};

constexpr size_t kMaxConfigLine = 1024;           // bytes; a longer line holds no sane value and is skipped

// Reads tokens from text in memory; the text must outlive the lexer.
struct ConfigLexer {
  std::string_view text;
  size_t at = 0;                                  // byte offset of the next character
  Token token;
};

const Token& NextToken(ConfigLexer& lexer);       // the next token from lexer.at; TokenEnd at the end
// Applies the display keys found in text and logs them; a key found in overrides (the player's
// own file) takes the place of text's. Lines over kMaxConfigLine bytes are skipped, each with a
// log line. Keys missing from both take their defaults.
void ApplyConfigText(std::string_view text, std::string_view overrides = {});
// Reads the whole of reader (from the start) once and applies it as ApplyConfigText does.
void ApplyConfig(FileReader& reader);
void ReadConfig();                                // config.cfg of the data folder, then the config folder's over it
