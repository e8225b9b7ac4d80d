#include "tools/export_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

const char kExportUsage[] =
    "usage: velmora-export TRACK [RIDER] -o OUT.mp4|OUT.webm|OUT.gif [--seconds S | --steps N] [--from-start]\n"
    "                      [--size WxH] [--fps F] [--zoom Z]\n";

namespace {

constexpr int kLargestSide = 8192;                // pixels
constexpr int64_t kMostFrames = int64_t(1) << 24; // about three days at 60 fps

bool ParseInteger(const std::string& text, int64_t minimum, int64_t maximum, int64_t* value) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  char* end = nullptr;
  errno = 0;
  const long long parsed = strtoll(text.c_str(), &end, 10);
  if (errno == ERANGE || *end || parsed < minimum || parsed > maximum) return false;
  *value = parsed;
  return true;
}

bool ParseNumber(const std::string& text, double minimum, double maximum, double* value) {
  if (text.empty() || !((text[0] >= '0' && text[0] <= '9') || text[0] == '.')) return false;
  char* end = nullptr;
  const double parsed = strtod(text.c_str(), &end);
  if (*end || !std::isfinite(parsed) || parsed < minimum || parsed > maximum) return false;
  *value = parsed;
  return true;
}

// "WxH", both even (4:2:0 video halves the colour planes) and at most kLargestSide.
bool ParseSize(const std::string& text, int* width, int* height) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return false;
  int64_t w = 0, h = 0;
  if (!ParseInteger(text.substr(0, x), 2, kLargestSide, &w) || !ParseInteger(text.substr(x + 1), 2, kLargestSide, &h))
    return false;
  if (w % 2 || h % 2) return false;
  *width = int(w);
  *height = int(h);
  return true;
}

bool KindOf(const std::string& path, VideoKind* kind) {
  auto endsWith = [&](const char* suffix) {
    const std::string s(suffix);
    return path.size() > s.size() && path.compare(path.size() - s.size(), s.size(), s) == 0;
  };
  if (endsWith(".mp4")) *kind = VideoKind::Mp4;
  else if (endsWith(".webm")) *kind = VideoKind::WebM;
  else if (endsWith(".gif")) *kind = VideoKind::Gif;
  else return false;
  return true;
}

bool Refuse(std::string* why, const std::string& text) {
  *why = text;
  return false;
}

}  // namespace

bool ParseExportOptions(const std::vector<std::string>& arguments, ExportOptions* options, std::string* why) {
  double seconds = -1.0;
  int64_t steps = -1, fps = -1;
  std::vector<std::string> files;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (arg == "--from-start") {
      options->fromStart = true;
    } else if (arg == "-o" || arg == "--seconds" || arg == "--steps" || arg == "--size" || arg == "--fps" ||
               arg == "--zoom") {
      if (!hasValue) return Refuse(why, arg + " needs a value");
      const std::string& value = arguments[++i];
      bool good = true;
      double zoom = 0.0;
      if (arg == "-o") options->output = value;
      else if (arg == "--seconds") good = ParseNumber(value, 0.001, 1e6, &seconds);
      else if (arg == "--steps") good = ParseInteger(value, 1, int64_t(1) << 40, &steps);
      else if (arg == "--size") good = ParseSize(value, &options->width, &options->height);
      else if (arg == "--fps") good = ParseInteger(value, 1, 1000, &fps);
      else if ((good = ParseNumber(value, 0.3, 4.0, &zoom))) options->zoom = float(zoom);
      if (!good) return Refuse(why, "bad value for " + arg + ": " + value);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Refuse(why, "unknown option " + arg);
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty() || files.size() > 2) return Refuse(why, "give a track and at most one rider");
  options->track = files[0];
  options->rider = files.size() > 1 ? files[1] : "";
  if (options->output.empty()) return Refuse(why, "give the output file with -o");
  if (!KindOf(options->output, &options->kind)) return Refuse(why, "the output must end in .mp4, .webm or .gif");
  if (seconds >= 0 && steps >= 0) return Refuse(why, "give --seconds or --steps, not both");
  // A GIF's frame times are whole hundredths of a second.
  if (options->kind == VideoKind::Gif) {
    if (fps < 0) fps = 50;
    if (kStepsPerSecond % fps) return Refuse(why, "a GIF takes only frame rates that divide 100");
  } else if (fps < 0) {
    fps = 60;
  }
  options->fps = int(fps);
  const double frames = steps >= 0 ? std::floor(double(steps) * double(fps) / kStepsPerSecond) + 1
                                   : std::round((seconds >= 0 ? seconds : kDefaultSeconds) * double(fps));
  if (frames < 1 || frames > double(kMostFrames)) return Refuse(why, "the ride asked for is too short or too long");
  options->frames = int64_t(frames);
  return true;
}

int64_t StepOfFrame(int64_t frame, int fps) { return frame * kStepsPerSecond / fps; }
