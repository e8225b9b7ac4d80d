#include "track/track_view.h"

#include <GL/gl.h>

#include <cmath>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/sprites.h"
#include "shell/display.h"
#include "shell/input.h"
#include "rider/ghost.h"
#include "track/line_drawing.h"

namespace {
constexpr float kCullMargin = 40.0f;              // screen px beyond the view that still count
constexpr int kFlagSlot = 12;                     // "sprites\flag.png"
constexpr int kFontSlot = 7;

void DrawBody(const Body& body, const World& world) {
  if (world.wireframe) {
    DrawSkeleton(body, world.zoom);
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
void DrawDisplay(const World& world) {
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
  PrintShadowText(20.0f, 20.0f, 0.0f, 2.0f, -2.0f, 128, 255, 100, 0, "FPS %d", world.shownFps);
}
}  // namespace

CullRect VisibleRect(const World& world) {
  Vec2 c = ScreenCentre();
  float z = world.zoom;
  Vec2 min = c - world.camera - Vec2(c.x / z, c.y / z);
  return {min.x, min.y, min.x + 2.0f * c.x / z, min.y + 2.0f * c.y / z};
}

CullRect LineCullRect(const World& world) {
  CullRect view = VisibleRect(world);
  float m = kCullMargin / world.zoom;
  return {view.minX - m, view.minY - m, view.maxX + m, view.maxY + m};
}

uint8_t GhostAlpha(const World& world) {
  float counter = static_cast<float>(world.ghostCounter);
  float period = static_cast<float>(world.ghostPeriod > 0 ? world.ghostPeriod : kGhostPeriod);
  float a = std::trunc(std::fabs(258.0f - counter * 255.0f / period) * 0.5f + 1.0f);
  if (!(a >= 0.0f)) return 0;
  return a > 255.0f ? 255 : static_cast<uint8_t>(a);
}

void RenderWorld(World& world) {
  CullRect cull = LineCullRect(world);
  Vec2 c = ScreenCentre();
  float z = world.zoom;
  glLoadIdentity();
  glTranslatef(c.x, c.y, 0.0f);
  glScalef(z, z, 1.0f);
  glTranslatef(world.camera.x - c.x, world.camera.y - c.y, 0.0f);
  DrawSceneryLinesInView(world, z, cull);
  DrawSolidLinesInView(world, z, cull);
  if (world.startFlagSet) DrawStartFlag(world);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  // The ghost is not drawn in a frame in which the rider has just advanced.
  if (world.ghostOn && !world.ghostResync) {
    glColor4ub(255, 255, 255, GhostAlpha(world));
    DrawBody(world.ghost, world);
    glColor4ub(255, 255, 255, 255);
  }
  glColor4ub(255, 255, 255, 255);
  if (KeyPressed('D')) world.wireframe = world.wireframe ? 0 : 1;
  DrawBody(world.rider, world);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  if (world.freehandStroke || world.straightStroke) {
    glColor3ub(255, 0, 0);
    glBegin(GL_LINES);
    glVertex2f(world.strokeStart.x, world.strokeStart.y);
    glVertex2f(world.cursorPoint.x, world.cursorPoint.y);
    glEnd();
  }
  DrawDisplay(world);
}
