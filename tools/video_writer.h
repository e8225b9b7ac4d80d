// A video file written through libavformat and libavcodec: H.264 (libx264) in MP4, VP9 (libvpx,
// realtime) in WebM, or a GIF whose palette is made for the ride by libavfilter (gif_palette.h).
// Frames are RGBA, width x height x 4 bytes, top row first; frame n lasts from n / fps to
// (n + 1) / fps. The file is written under a temporary name beside the output and takes the
// output's name only when finished; a writer dropped before that removes it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "tools/export_options.h"

class VideoWriter {
 public:
  VideoWriter();
  ~VideoWriter();                                 // removes an unfinished file
  VideoWriter(const VideoWriter&) = delete;
  VideoWriter& operator=(const VideoWriter&) = delete;

  // False and why when the encoder or the file cannot be opened.
  bool open(const std::string& path, VideoKind kind, int width, int height, int fps, std::string* why);
  // A GIF's palette comes from every frame of a first pass: all of them go here, then the
  // frames again through add. Other kinds need no first pass.
  bool needsPalettePass() const;
  bool addPaletteFrame(const uint8_t* rgba, std::string* why);
  bool addFrame(const uint8_t* rgba, std::string* why);
  // Flushes the encoder, writes the trailer and renames the file to the output's name.
  bool finish(std::string* why);
  const char* partPath() const;                   // the temporary name while writing, for a signal handler

 private:
  struct State;
  std::unique_ptr<State> state_;
};
