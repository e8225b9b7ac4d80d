#include "tools/ride_frames.h"

#include <cstring>

#include "graphics/device.h"
#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "gui/screens.h"
#include "platform/offscreen.h"
#include "rider/current_rider.h"
#include "shell/display.h"
#include "track/track_view.h"
#include "track/world.h"

bool StartOffscreenDrawing(int width, int height, const CurrentRider& rider, std::string* why) {
  SetScreenWidth(width);
  SetScreenHeight(height);
  if (!PlatformCreateOffscreenContext(width, height, why)) return false;
  AssignSpriteTable();
  UseRiderSheet(rider.spriteSheet);
  CreateDeviceOnCurrentContext();
  return true;
}

void StopOffscreenDrawing() {
  ForgetSpriteTextures();
  ReleaseDevice();
  PlatformDestroyOffscreenContext();
}

RideFrames::RideFrames(World& world, float zoom) : world_(world) {
  view_.zoom = ClampZoom(zoom);
  CentreOnRider(view_, world_);
}

void RideFrames::advanceTo(int64_t step) {
  for (; step_ < step; ++step_) {
    StepRider(world_);
    FollowFocus(view_, world_);
  }
}

void RideFrames::render(std::vector<uint8_t>* rgba) {
  const int width = ScreenWidth(), height = ScreenHeight();
  const size_t row = size_t(width) * 4;
  ClearToColour(255, 255, 255);
  LoadIdentity();
  RenderRideFrame(world_, view_, cache_);
  bottomUp_.resize(row * height);
  ReadFrame(width, height, bottomUp_.data());
  rgba->resize(bottomUp_.size());
  for (int y = 0; y < height; ++y) memcpy(rgba->data() + row * y, bottomUp_.data() + row * (height - 1 - y), row);
}
