// Sprites in the rider editor: every editor sprite shows a frame of slot 15 (the rider's sprite
// sheet) on a selected link. The keys act on the selected links that carry a sprite, by steps of
// world units that shrink with the zoom so each step moves the same on screen.
#pragma once
#include <cstdint>

struct RiderEditor;

constexpr float kSpriteKeyStep = 0.2f;            // screen units per step of a sprite key

// Selected links without a sprite get one from the settings; those with one lose it.
void ToggleSprites(RiderEditor& editor);
// Moves the sprites by one key step in a screen direction (dx, dy each -1..1), kept as a
// fraction of the link's length along b -> a and units across it. Links shorter than
// kShortestLink have no direction and are skipped.
void MoveSprites(RiderEditor& editor, int32_t dx, int32_t dy);
// Grows (+1) or shrinks (-1) the half width and the half height by one key step; neither goes
// below 0.
void ResizeSprites(RiderEditor& editor, int32_t widthSign, int32_t heightSign);
void StepSpriteDepth(RiderEditor& editor, int32_t delta);  // re-sorts the sprite order
