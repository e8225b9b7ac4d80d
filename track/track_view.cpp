#include "track/track_view.h"

#include <cmath>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/sprites.h"
#include "shell/display.h"
#include "track/ghost.h"
#include "rider/body_drawing.h"
#include "track/line_drawing.h"
#include "track/track_scene.h"

namespace {

void DrawBody(const Body& body, const View& view) {
  if (view.wireframe) {
    DrawSkeleton(body, view.zoom);
  } else {
    DrawSprites(body);
  }
}

void DrawStartFlag(const World& world) {
  PushTransform();
  EnableTexture(true);
  EnableBlend(true);
  UseAlphaBlend();
  SetColour(255, 255, 255, 255);
  BindSpriteFrame(kSlotFlag, 1);
  Translate(world.flag.x + 12.0f, world.flag.y);
  DrawCentredQuad(20.0f, -20.0f);
  EnableBlend(false);
  PopTransform();
}

// The line count below the frame rate, both near the top right corner.
void DrawDisplay(const World& world, const View& view) {
  float w = static_cast<float>(ScreenWidth()), h = static_cast<float>(ScreenHeight());
  LoadIdentity();
  EnableTexture(true);
  EnableBlend(true);
  Translate(w - 224.0f, h - 68.0f);
  BindSpriteFrame(kSlotFont, 0);
  PrintShadowText(20.0f, 20.0f, 0.0f, 2.0f, -2.0f, 128, 255, 100, 0, "lines %d",
                  SolidLineCount(world) + SceneryLineCount(world));
  LoadIdentity();
  Translate(w - 224.0f, h - 38.0f);
  PrintShadowText(20.0f, 20.0f, 0.0f, 2.0f, -2.0f, 128, 255, 100, 0, "FPS %d", view.shownFps);
}
}  // namespace

uint8_t GhostAlpha(const World& world) {
  float counter = static_cast<float>(world.ghost.counter);
  float period = static_cast<float>(world.ghost.period > 0 ? world.ghost.period : kGhostPeriod);
  float a = std::trunc(std::fabs(258.0f - counter * 255.0f / period) * 0.5f + 1.0f);
  if (!(a >= 0.0f)) return 0;
  return a > 255.0f ? 255 : static_cast<uint8_t>(a);
}

// The world through the view up to the rider: scenery, solid lines and the start flag, then
// the texture and blend state the bodies are drawn in.
static void DrawTrackUnderRider(const World& world, const View& view, LineDrawCache& cache) {
  CullRect cull = LineCullRect(view);
  Vec2 c = ScreenCentre();
  float z = view.zoom;
  LoadIdentity();
  Translate(c.x, c.y);
  Scale(z, z);
  Translate(view.camera.x - c.x, view.camera.y - c.y);
  DrawSceneryLinesInView(world, z, cull, cache);
  DrawSolidLinesInView(world, z, cull, cache);
  if (world.startFlagSet) DrawStartFlag(world);
  EnableTexture(true);
  EnableBlend(true);
  UseAlphaBlend();
}

void RenderRideFrame(const World& world, const View& view, LineDrawCache& cache) {
  DrawTrackUnderRider(world, view, cache);
  SetColour(255, 255, 255, 255);
  DrawBody(world.rider, view);
  EnableTexture(false);
}

void RenderTrackScene(const TrackScene& scene, LineDrawCache& cache) {
  const World& world = scene.world;
  const View& view = scene.view;
  const TrackEditor& editor = scene.editor;
  DrawTrackUnderRider(world, view, cache);
  // The ghost is not drawn in a frame in which the rider has just advanced.
  if (world.ghost.on && !world.ghost.resync) {
    SetColour(255, 255, 255, GhostAlpha(world));
    DrawBody(world.ghost.body, view);
    SetColour(255, 255, 255, 255);
  }
  SetColour(255, 255, 255, 255);
  DrawBody(world.rider, view);
  EnableTexture(false);
  EnableBlend(true);
  const std::vector<Vec2>& path = scene.preview.path;
  static_assert(sizeof(Vec2) == 2 * sizeof(float), "a path is drawn as its floats");
  if (path.size() > 1) {
    SetLineWidth(1.0f);
    SetColour(255, 100, 0, 200);
    DrawVertices(Primitive::LineStrip, &path.front().x, int(path.size()));
    SetLineWidth(2.0f);
  }
  if (editor.freehandStroke || editor.straightStroke) {
    SetColour(255, 0, 0, 255);
    const float stroke[4] = {editor.strokeStart.x, editor.strokeStart.y, editor.cursorPoint.x, editor.cursorPoint.y};
    DrawVertices(Primitive::Lines, stroke, 2);
  }
  DrawDisplay(world, view);
}
