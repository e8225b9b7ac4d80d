// Drawing a body: the skeleton (points from sprite slot 13, links in the colours of their kind)
// and the link sprites in depth order.
#include "rider/body_drawing.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "rider/body.h"

namespace {

constexpr int kPointSlot = 13;                    // point images, one frame per group
constexpr int kNonCollidingFrame = 13;
constexpr int kFrictionFrame = 11;
constexpr float kFrictionShown = 0.01f;           // no overlay at or below this friction
constexpr float kFrictionAlphaScale = 2500.0f;    // overlay alpha per unit of friction
constexpr float kArrowLength = 10.0f;             // thruster arrow head, world units
constexpr float kArrowHalfWidth = 5.0f;
constexpr float kDegreesPerRadian = 57.29578f;

// An 8-bit colour channel from a value that may leave 0..255 (stiffness above 1, friction
// above 0.1): held at the ends instead of wrapping.
GLubyte Channel(float value) {
  if (!(value > 0.0f)) return 0;
  if (value >= 255.0f) return 255;
  return GLubyte(value);
}

void SetLinkColour(const Link& link) {
  const GLubyte alpha = link.restLength > 0.0f && link.breakLimit / link.restLength >= 1.0f ? 255 : 128;
  const GLubyte c = Channel(std::trunc((link.stiffness + 1.0f) * 128.0f));
  switch (link.kind) {
    case LinkKind::Spring: glColor4ub(0, c, 0, alpha); break;
    case LinkKind::Rope: glColor4ub(c, 0, 0, alpha); break;
    case LinkKind::Strut: glColor4ub(0, 0, c, alpha); break;
    case LinkKind::Thruster:
      glColor4ub(c, Channel(std::trunc((link.stiffness + 1.0f) * 64.0f)), 0, alpha);
      break;
    default: glColor4ub(0, 0, 0, alpha); break;
  }
}

void DrawLink(const Link& link) {
  SetLinkColour(link);
  glBegin(GL_LINES);
  glVertex2f(link.a->x, link.a->y);
  glVertex2f(link.b->x, link.b->y);
  if (link.kind == LinkKind::Thruster) {
    const float dx = link.b->x - link.a->x;
    const float dy = link.b->y - link.a->y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length > 0.0f) {
      const float ux = dx / length, uy = dy / length;
      const float baseX = link.b->x - kArrowLength * ux, baseY = link.b->y - kArrowLength * uy;
      // perp(u) = (-uy, ux)
      glVertex2f(baseX - kArrowHalfWidth * uy, baseY + kArrowHalfWidth * ux);
      glVertex2f(link.b->x, link.b->y);
      glVertex2f(baseX + kArrowHalfWidth * uy, baseY - kArrowHalfWidth * ux);
      glVertex2f(link.b->x, link.b->y);
    }
  }
  glEnd();
}

}  // namespace

void DrawBodyPoint(const BodyPoint& point) {
  BindSpriteFrame(kPointSlot, point.collides ? point.group : kNonCollidingFrame);
  glPushMatrix();
  glTranslatef(point.x, point.y, 0.0f);
  DrawCentredQuad(point.radius, point.radius);
  if (point.friction > kFrictionShown) {
    BindSpriteFrame(kPointSlot, kFrictionFrame);
    glColor4ub(255, 255, 255, Channel(std::trunc(point.friction * kFrictionAlphaScale)));
    DrawCentredQuad(point.radius, point.radius);
    glColor4ub(255, 255, 255, 255);
  }
  glPopMatrix();
}

void DrawSkeleton(const Body& body, float lineWidth) {
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4ub(255, 255, 255, 255);
  for (const BodyPoint& point : body.points) DrawBodyPoint(point);
  glDisable(GL_TEXTURE_2D);
  glLineWidth(lineWidth);
  for (const Link& link : body.links) DrawLink(link);
}

void DrawSprites(const Body& body) {
  for (const Link* link : body.spriteOrder.entries) {
    if (!link->hasSprite) continue;
    const float dx = link->a->x - link->b->x;
    const float dy = link->a->y - link->b->y;
    glPushMatrix();
    glTranslatef((link->a->x + link->b->x) * 0.5f, (link->a->y + link->b->y) * 0.5f, 0.0f);
    glRotatef(std::atan2(dy, dx) * kDegreesPerRadian, 0.0f, 0.0f, 1.0f);
    glTranslatef(std::sqrt(dx * dx + dy * dy) * link->spriteAlong, link->spriteAcross, 0.0f);
    BindSpriteFrame(link->spriteSlot, link->spriteFrame);
    const float w = link->spriteHalfW, h = link->spriteHalfH;
    // Mirrored in both axes: texture (0, 0) at (w, h), (1, 1) at (-w, -h).
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 0); glVertex2f(w, h);
    glTexCoord2f(0, 1); glVertex2f(w, -h);
    glTexCoord2f(1, 0); glVertex2f(-w, h);
    glTexCoord2f(1, 1); glVertex2f(-w, -h);
    glEnd();
    glPopMatrix();
  }
}
