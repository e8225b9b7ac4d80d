// The real game with a scripted player behind the input seam: it draws a slope under the rider
// with the left button, holds Space so the rider rides down it, saves the window as a PNG and
// presses Escape. Run it from the build folder (beside sprites/ and riders/) on an X display;
// tools/screenshot.sh does that under Xvfb.
//
//   screenshot [output.png] [rider] (an absolute path: the game works in its own folder; the
//                                    rider file relative to it, e.g. riders\pogo.rider)
#include <GL/gl.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "gui/game.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "rider/rider_file.h"
#include "shell/app.h"
#include "shell/display.h"
#include "track/world.h"

namespace {
// ---- State: the script's clock, counted in input refreshes (one per 10 ms step) ----
struct Player {
  int step = 0;
  const char* output = "screenshot.png";
  const char* rider = nullptr;                    // null: the default rider
  Game* game = nullptr;
  bool saved = false;
};
Player player;

// Where the pointer is at a step, window px with y down: a slope under the rider, then a flat.
struct Waypoint {
  int step, x, y;
};
constexpr Waypoint kPath[] = {{0, 250, 380}, {100, 250, 380}, {260, 700, 480}, {360, 980, 470}, {380, 900, 150}};
constexpr int kPressStep = 100, kReleaseStep = 360;
constexpr int kRideFrom = 420, kPictureStep = 600, kEscapeStep = 640;

void PointerAt(int step, int* x, int* y) {
  const Waypoint* a = &kPath[0];
  for (const Waypoint& b : kPath) {
    if (step <= b.step) {
      int span = b.step - a->step;
      int t = span > 0 ? step - a->step : 0;
      *x = a->x + (b.x - a->x) * t / (span > 0 ? span : 1);
      *y = a->y + (b.y - a->y) * t / (span > 0 ? span : 1);
      return;
    }
    a = &b;
  }
  *x = a->x;
  *y = a->y;
}

// The last frame drawn (still in the back buffer after a copying swap), bottom row first in GL,
// written top row first.
void SaveWindow() {
  int width = ScreenWidth(), height = ScreenHeight();
  std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  FILE* file = fopen(player.output, "wb");
  if (!file) return;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int row = height - 1; row >= 0; --row) png_write_row(png, rgb.data() + size_t(row) * width * 3);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  fclose(file);
  player.saved = true;
  printf("saved %s\n", player.output);
}

void ScriptedKeys(uint8_t keys[256]) {
  memset(keys, 0, 256);
  int step = player.step++;
  if (step == kPressStep && player.rider && LoadRider(player.game->track.rider, player.rider) == FileLoad::Loaded)
    RestartRider(player.game->track.world, player.game->track.rider);
  if (step >= kPressStep && step < kReleaseStep) keys[kKeyLeftButton] = 0x80;
  if (step >= kRideFrom && step < kEscapeStep) keys[kKeySpace] = 0x80;
  if (step == kPictureStep) SaveWindow();
  if (step >= kEscapeStep) keys[kKeyEscape] = 0x80;
}

void ScriptedCursor(int* x, int* y) { PointerAt(player.step, x, y); }
}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) player.output = argv[1];
  if (argc > 2) player.rider = argv[2];
  static std::unique_ptr<Game> game = std::make_unique<Game>();
  player.game = game.get();
  Platform().readKeys = ScriptedKeys;
  Platform().readCursor = ScriptedCursor;
  RunGame(GameCallsFor(*game));
}
