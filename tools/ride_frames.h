// The ride drawn frame by frame as the track screen shows it, on an offscreen GL context: the
// camera starts on the rider's focus point and follows it step by step (FollowFocus), riders are
// drawn with sprites or as skeletons as the game chooses, and nothing but the track, the start
// flag and the rider is drawn.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "track/line_drawing.h"
#include "track/view.h"

struct World;
struct CurrentRider;

// The offscreen context at the frame's size, the sprite table with the rider's sheet and the GL
// device on it; false and why when no context could be made.
bool StartOffscreenDrawing(int width, int height, const CurrentRider& rider, std::string* why);
void StopOffscreenDrawing();

class RideFrames {
 public:
  RideFrames(World& world, float zoom);           // world: loaded and placed, at step 0
  void advanceTo(int64_t step);                   // rides on to step; never back
  void render(std::vector<uint8_t>* rgba);        // the frame, top row first, screen size x 4 bytes
  int64_t step() const { return step_; }

 private:
  World& world_;
  View view_;
  LineDrawCache cache_;
  int64_t step_ = 0;
  std::vector<uint8_t> bottomUp_;                 // the frame as GL reads it
};
