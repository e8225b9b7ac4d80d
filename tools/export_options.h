// What velmora-export is asked for: its command line, the output's kind by extension, and which
// step of the ride each frame shows. Frame i shows the ride at time i / fps, that is the step
// (10 ms each) that time falls on; no clock is read.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class VideoKind { Mp4, WebM, Gif };

struct ExportOptions {
  std::string track;
  std::string rider;                              // empty: the rider the track names
  std::string output;
  VideoKind kind = VideoKind::Mp4;
  int64_t frames = 0;                             // frames in the file: seconds x fps, or as many as the steps span
  int width = 1280;                               // pixels
  int height = 720;
  int fps = 60;                                   // frames per second; GIF only divisors of 100 (default 50)
  float zoom = 1.0f;                              // the view's zoom, 0.3 .. 4.0
  bool fromStart = false;                         // the track's stored start, as play from start
};

constexpr int64_t kStepsPerSecond = 100;
constexpr double kDefaultSeconds = 10.0;

// The usage line printed with exit status 2.
extern const char kExportUsage[];
// False, with why, for an unknown option, a missing value or output, a value out of range, an
// unknown extension or a GIF rate that does not divide 100.
bool ParseExportOptions(const std::vector<std::string>& arguments, ExportOptions* options, std::string* why);
int64_t StepOfFrame(int64_t frame, int fps);      // floor(frame x 100 / fps)
