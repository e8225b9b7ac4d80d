#include "shell/notice.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "shell/log.h"

namespace {

std::string Format(const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  const int length = vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string line(size_t(length > 0 ? length : 0), '\0');
  if (length > 0) vsnprintf(line.data(), line.size() + 1, format, args);
  return line;
}

}  // namespace

void Notice(const NoticeSink& sink, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string line = Format(format, args);
  va_end(args);
  Log("%s", line.c_str());
  if (sink) sink(line.c_str());
}

void Tell(const NoticeSink& sink, const char* format, ...) {
  if (!sink) return;
  va_list args;
  va_start(args, format);
  const std::string line = Format(format, args);
  va_end(args);
  sink(line.c_str());
}
