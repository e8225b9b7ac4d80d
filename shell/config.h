// config.cfg: a small tokeniser and the reader of the display settings.
#pragma once
#include <cstdint>

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

struct ConfigLexer {
  FileReader* reader = nullptr;
  Token token;
};

const Token& NextToken(ConfigLexer& lexer);       // reads from the reader's position
// Applies the display keys read from reader (at any position) and logs them.
void ApplyConfig(FileReader& reader);
void ReadConfig();                                // "config.cfg" in the current folder
