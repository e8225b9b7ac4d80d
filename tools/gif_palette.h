// A GIF's colours for one ride: libavfilter's palettegen over every frame of a first pass
// (colour statistics of the whole ride, 256 colours, no transparent entry), then paletteuse maps
// each frame of the second pass onto that palette with error-diffusion dithering, so scenery
// colours seen anywhere in the ride survive.
#pragma once
#include <functional>
#include <memory>
#include <string>

struct AVFrame;

class GifPalette {
 public:
  GifPalette();
  ~GifPalette();
  GifPalette(const GifPalette&) = delete;
  GifPalette& operator=(const GifPalette&) = delete;

  bool start(int width, int height, std::string* why);
  bool collect(const AVFrame* rgba, std::string* why);   // a first-pass frame (not consumed)
  bool endCollecting(std::string* why);                  // the palette is made
  // A second-pass frame (null: the last has gone in) onto the palette; every PAL8 frame ready
  // goes to take, which returns false to stop (its why is its own).
  bool map(const AVFrame* rgba, const std::function<bool(AVFrame*)>& take, std::string* why);

 private:
  struct Graphs;
  std::unique_ptr<Graphs> graphs_;
};
