// Drawing the rider editor's canvas: the body in the editor's view with the marks of the current
// tool (selection, hover, focus, chain, joint picks, rectangle). The toolbar and the values are
// the screen's.
#pragma once
#include "shell/vec2.h"

struct RiderEditor;

// screenSize in px; leaves the transform at identity and texturing on.
void DrawRiderEditor(const RiderEditor& editor, Vec2 screenSize);
