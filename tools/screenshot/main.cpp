// The real game with a scripted player behind the input seam, who walks the road a new player
// takes and saves the window at four places: the main menu, the rider chooser, the track screen
// with the rider riding down a drawn slope under a boost line and a tooltip showing, and the
// rider editor with some points picked. Run it
// from the build folder (beside sprites/ and riders/) on an X display; tools/screenshot.sh does
// that under Xvfb.
//
//   screenshot [output folder]  (an absolute path: the game works in its own folder)
#include <GL/gl.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gui/game.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "shell/app.h"
#include "shell/display.h"

namespace {
// ---- The script, counted in input refreshes (one per 10 ms step); pointer in window px, y down ----
struct Waypoint {
  int step, x, y;
};
constexpr Waypoint kPath[] = {
    {0, 600, 500},    {40, 512, 264},   // onto NEW GAME
    {70, 512, 264},   {90, 150, 110},   // onto the sledder in the chooser
    {100, 150, 110},  {110, 900, 21},   // onto NEXT, twice (the explanation)
    {140, 900, 21},   {150, 250, 380},  // to the slope's top
    {160, 250, 380},  {320, 700, 480},  {400, 980, 470}, {410, 67, 165},  // onto the boost button
    {414, 67, 165},   {425, 300, 250},  {445, 650, 290},                   // a boost line above
    {455, 67, 326},   {640, 67, 326},   // resting on the flag button: its tooltip
    {655, 512, 344},                    // onto EDIT RIDER in the in-game menu
    {665, 512, 344},  {675, 900, 21},   // onto NEXT (the explanation)
    {725, 900, 21},   {730, 430, 290},  // a box over the rider
    {740, 430, 290},  {780, 600, 460},  {800, 700, 600},
    {825, 700, 600},  {840, 512, 504},  // onto EXIT in the in-game menu
};
struct Hold {
  int from, to, key;                              // down in steps from..to-1
};
constexpr Hold kHolds[] = {
    {60, 64, kKeyLeftButton},   {110, 114, kKeyLeftButton}, {130, 134, kKeyLeftButton},
    {160, 400, kKeyLeftButton}, {411, 413, kKeyLeftButton}, {425, 445, kKeyRightButton},
    {450, 620, kKeySpace},      {630, 634, kKeyEscape},
    {660, 664, kKeyLeftButton}, {680, 684, kKeyLeftButton}, {700, 720, 'Z'},
    {740, 780, kKeyLeftButton}, {815, 819, kKeyEscape},     {850, 854, kKeyLeftButton},
};
struct Picture {
  int step;
  const char* file;
};
constexpr Picture kPictures[] = {
    {50, "main_menu.png"}, {100, "rider_chooser.png"}, {600, "track_screen.png"}, {810, "rider_editor.png"}};

struct Player {
  int step = 0;
  std::string folder = ".";
};
Player player;

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
void SaveWindow(const std::string& path) {
  int width = ScreenWidth(), height = ScreenHeight();
  std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  FILE* file = fopen(path.c_str(), "wb");
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
  printf("saved %s\n", path.c_str());
}

void ScriptedKeys(uint8_t keys[256]) {
  memset(keys, 0, 256);
  const int step = player.step++;
  for (const Hold& hold : kHolds)
    if (step >= hold.from && step < hold.to) keys[hold.key] = 0x80;
  for (const Picture& picture : kPictures)
    if (step == picture.step) SaveWindow(player.folder + "/" + picture.file);
}

void ScriptedCursor(int* x, int* y) { PointerAt(player.step, x, y); }
}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) player.folder = argv[1];
  static std::unique_ptr<Game> game = std::make_unique<Game>();
  Platform().readKeys = ScriptedKeys;
  Platform().readCursor = ScriptedCursor;
  RunGame(GameCallsFor(*game));
}
