// Drawing a body; the caller sets the view and the colour.
#pragma once

struct Body;
struct BodyPoint;

void DrawSkeleton(const Body& body, float lineWidth);  // points (sprite slot 13) then links in kind colours
void DrawBodyPoint(const BodyPoint& point);       // one point as in the skeleton (also the editor's preview)
void DrawSprites(const Body& body);               // link sprites in depth order; a slot outside 0..19 draws none
