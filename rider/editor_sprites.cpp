#include "rider/editor_sprites.h"

#include <algorithm>
#include <cmath>

#include "rider/rider_editor.h"

namespace {

template <typename Apply>
void ForSelectedSprites(RiderEditor& editor, Apply apply) {
  for (LinkHandle handle : editor.selectedLinks) {
    Link* link = Resolve(editor.body, handle);
    if (link && link->hasSprite) apply(*link);
  }
}

}  // namespace

void ToggleSprites(RiderEditor& editor) {
  const EditorSettings& s = editor.settings;
  for (LinkHandle handle : editor.selectedLinks) {
    Link* link = Resolve(editor.body, handle);
    if (!link) continue;
    if (link->hasSprite)
      link->hasSprite = 0;
    else
      AttachSprite(editor.body, link, kEditorSpriteSlot, s.spriteFrame, s.spriteAlong, s.spriteAcross, s.spriteHalfW,
                   s.spriteHalfH, s.spriteDepth);
  }
}

void MoveSprites(RiderEditor& editor, int32_t dx, int32_t dy) {
  const float step = kSpriteKeyStep / editor.zoom;
  const float mx = float(std::clamp(dx, -1, 1)) * step;
  const float my = float(std::clamp(dy, -1, 1)) * step;
  ForSelectedSprites(editor, [&](Link& link) {
    // The sprite's frame: u along b -> a, n its left perpendicular. The motion's part along u is
    // kept as a fraction of the length, so the sprite stays in place as the link stretches.
    const float ux = link.a->x - link.b->x;
    const float uy = link.a->y - link.b->y;
    const float length = std::sqrt(ux * ux + uy * uy);
    if (!(length >= kShortestLink)) return;
    const float along = (mx * ux + my * uy) / length;
    const float across = (my * ux - mx * uy) / length;
    link.spriteAlong += along / length;
    link.spriteAcross += across;
  });
}

void ResizeSprites(RiderEditor& editor, int32_t widthSign, int32_t heightSign) {
  const float step = kSpriteKeyStep / editor.zoom;
  ForSelectedSprites(editor, [&](Link& link) {
    link.spriteHalfW = std::max(link.spriteHalfW + float(std::clamp(widthSign, -1, 1)) * step, 0.0f);
    link.spriteHalfH = std::max(link.spriteHalfH + float(std::clamp(heightSign, -1, 1)) * step, 0.0f);
  });
}

void StepSpriteDepth(RiderEditor& editor, int32_t delta) {
  ForSelectedSprites(editor, [&](Link& link) { SetSpriteDepth(editor.body, &link, link.spriteDepth + delta); });
}
