#include "track/track_view.h"

#include <GL/gl.h>

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
constexpr int kFlagSlot = 12;                     // "sprites\flag.png"
constexpr int kFontSlot = 7;

void DrawBody(const Body& body, const View& view) {
  if (view.wireframe) {
    DrawSkeleton(body, view.zoom);
  } else {
    DrawSprites(body);
  }
}

void DrawStartFlag(const World& world) {
  glPushMatrix();
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4ub(255, 255, 255, 255);
  BindSpriteFrame(kFlagSlot, 1);
  glTranslatef(world.flag.x + 12.0f, world.flag.y, 0.0f);
  DrawCentredQuad(20.0f, -20.0f);
  glDisable(GL_BLEND);
  glPopMatrix();
}

// The line count below the frame rate, both near the top right corner.
void DrawDisplay(const World& world, const View& view) {
  float w = static_cast<float>(ScreenWidth()), h = static_cast<float>(ScreenHeight());
  glLoadIdentity();
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glTranslatef(w - 224.0f, h - 68.0f, 0.0f);
  BindSpriteFrame(kFontSlot, 0);
  PrintShadowText(20.0f, 20.0f, 0.0f, 2.0f, -2.0f, 128, 255, 100, 0, "lines %d",
                  SolidLineCount(world) + SceneryLineCount(world));
  glLoadIdentity();
  glTranslatef(w - 224.0f, h - 38.0f, 0.0f);
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

void RenderTrackScene(const TrackScene& scene, LineDrawCache& cache) {
  const World& world = scene.world;
  const View& view = scene.view;
  const TrackEditor& editor = scene.editor;
  CullRect cull = LineCullRect(view);
  Vec2 c = ScreenCentre();
  float z = view.zoom;
  glLoadIdentity();
  glTranslatef(c.x, c.y, 0.0f);
  glScalef(z, z, 1.0f);
  glTranslatef(view.camera.x - c.x, view.camera.y - c.y, 0.0f);
  DrawSceneryLinesInView(world, z, cull, cache);
  DrawSolidLinesInView(world, z, cull, cache);
  if (world.startFlagSet) DrawStartFlag(world);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  // The ghost is not drawn in a frame in which the rider has just advanced.
  if (world.ghost.on && !world.ghost.resync) {
    glColor4ub(255, 255, 255, GhostAlpha(world));
    DrawBody(world.ghost.body, view);
    glColor4ub(255, 255, 255, 255);
  }
  glColor4ub(255, 255, 255, 255);
  DrawBody(world.rider, view);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  if (editor.freehandStroke || editor.straightStroke) {
    glColor3ub(255, 0, 0);
    glBegin(GL_LINES);
    glVertex2f(editor.strokeStart.x, editor.strokeStart.y);
    glVertex2f(editor.cursorPoint.x, editor.cursorPoint.y);
    glEnd();
  }
  DrawDisplay(world, view);
}
