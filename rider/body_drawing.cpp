// Drawing a body: the skeleton (points from sprite slot 13, links in the colours of their kind)
// and the link sprites in depth order.
#include "rider/body_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "rider/body.h"

namespace {

constexpr int kNonCollidingFrame = 13;
constexpr int kFrictionFrame = 11;
constexpr float kFrictionShown = 0.01f;           // no overlay at or below this friction
constexpr float kFrictionAlphaScale = 2500.0f;    // overlay alpha per unit of friction
constexpr float kArrowLength = 10.0f;             // thruster arrow head, world units
constexpr float kArrowHalfWidth = 5.0f;
constexpr float kDegreesPerRadian = 57.29578f;

// An 8-bit colour channel from a value that may leave 0..255 (stiffness above 1, friction
// above 0.1): held at the ends instead of wrapping.
uint8_t Channel(float value) {
  if (!(value > 0.0f)) return 0;
  if (value >= 255.0f) return 255;
  return uint8_t(value);
}

void SetLinkColour(const Link& link) {
  const uint8_t alpha = link.restLength > 0.0f && link.breakLimit / link.restLength >= 1.0f ? 255 : 128;
  const uint8_t c = Channel(std::trunc((link.stiffness + 1.0f) * 128.0f));
  switch (link.kind) {
    case LinkKind::Spring: SetColour(0, c, 0, alpha); break;
    case LinkKind::Rope: SetColour(c, 0, 0, alpha); break;
    case LinkKind::Strut: SetColour(0, 0, c, alpha); break;
    case LinkKind::Thruster:
      SetColour(c, Channel(std::trunc((link.stiffness + 1.0f) * 64.0f)), 0, alpha);
      break;
    default: SetColour(0, 0, 0, alpha); break;
  }
}

void DrawLink(const Link& link) {
  SetLinkColour(link);
  // The link, then for a thruster the arrow head's two strokes into its far end.
  float xy[12] = {link.a->x, link.a->y, link.b->x, link.b->y};
  int count = 2;
  if (link.kind == LinkKind::Thruster) {
    const float dx = link.b->x - link.a->x;
    const float dy = link.b->y - link.a->y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length > 0.0f) {
      const float ux = dx / length, uy = dy / length;
      const float baseX = link.b->x - kArrowLength * ux, baseY = link.b->y - kArrowLength * uy;
      // perp(u) = (-uy, ux)
      const float head[8] = {baseX - kArrowHalfWidth * uy, baseY + kArrowHalfWidth * ux, link.b->x, link.b->y,
                             baseX + kArrowHalfWidth * uy, baseY - kArrowHalfWidth * ux, link.b->x, link.b->y};
      std::copy(head, head + 8, xy + 4);
      count = 6;
    }
  }
  DrawVertices(Primitive::Lines, xy, count);
}

}  // namespace

void DrawBodyPoint(const BodyPoint& point) {
  BindSpriteFrame(kSlotPoints, point.collides ? point.group : kNonCollidingFrame);
  PushTransform();
  Translate(point.x, point.y);
  DrawCentredQuad(point.radius, point.radius);
  if (point.friction > kFrictionShown) {
    BindSpriteFrame(kSlotPoints, kFrictionFrame);
    SetColour(255, 255, 255, Channel(std::trunc(point.friction * kFrictionAlphaScale)));
    DrawCentredQuad(point.radius, point.radius);
    SetColour(255, 255, 255, 255);
  }
  PopTransform();
}

void DrawSkeleton(const Body& body, float lineWidth) {
  EnableTexture(true);
  EnableBlend(true);
  UseAlphaBlend();
  SetColour(255, 255, 255, 255);
  for (const BodyPoint& point : body.points) DrawBodyPoint(point);
  EnableTexture(false);
  SetLineWidth(lineWidth);
  for (const Link& link : body.links) DrawLink(link);
}

void DrawSprites(const Body& body) {
  for (const Link* link : body.spriteOrder.entries) {
    // A slot outside the table binds nothing, and the quad would show whatever was bound last.
    if (!link->hasSprite || link->spriteSlot < 0 || link->spriteSlot >= kSpriteSlotCount) continue;
    const float dx = link->a->x - link->b->x;
    const float dy = link->a->y - link->b->y;
    PushTransform();
    Translate((link->a->x + link->b->x) * 0.5f, (link->a->y + link->b->y) * 0.5f);
    Rotate(std::atan2(dy, dx) * kDegreesPerRadian);
    Translate(std::sqrt(dx * dx + dy * dy) * link->spriteAlong, link->spriteAcross);
    BindSpriteFrame(link->spriteSlot, link->spriteFrame);
    // Mirrored in both axes: texture (0, 0) at (w, h), (1, 1) at (-w, -h).
    DrawCentredQuad(-link->spriteHalfW, -link->spriteHalfH);
    PopTransform();
  }
}
