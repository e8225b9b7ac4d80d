// Drawing the game's own mouse cursor over everything else.
#pragma once

struct Cursor;

void DrawCursor(const Cursor& cursor);            // the last call of every render; resets the transform
