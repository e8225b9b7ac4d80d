// config.cfg: the reader takes any bytes. It reads through a FileReader, so each input goes to
// a private file first.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "shell/config.h"
#include "shell/display.h"
#include "shell/file_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("velmora-config-fuzz-" + std::to_string(getpid()) + ".cfg"))
          .string();
  if (FILE* file = fopen(path.c_str(), "wb")) {
    if (size > 0) fwrite(data, 1, size, file);
    fclose(file);
  }
  FileReader reader(path.c_str());
  ApplyConfig(reader);
  const int depth = ColourDepth();
  if (depth != 8 && depth != 16 && depth != 32) abort();
  ConfigLexer lexer{&reader, {}};
  reader.seek(0);
  for (int tokens = 0; NextToken(lexer).kind != TokenEnd; ++tokens)
    if (tokens > int(size) + 1) abort();   // every token takes at least one byte
  return 0;
}
