// A circular body point against the solid track lines: one-sided contact with the line's front
// face (the normal's side), a round cap at each end, friction along the line and the push of
// boost lines.
#pragma once
#include <vector>

#include "rider/body.h"
#include "track/line_grid.h"
#include "track/lines.h"

constexpr float kContactMargin = 20.0f;           // bounding-box margin, world units
constexpr float kLookBackFactor = 4.0f;           // look-back position = previous - 4 * velocity
constexpr float kDeepContact = -10.0f;            // behind the face deeper than this: pass behind the line
constexpr float kEndDistanceFloor = 0.001f;
constexpr float kBoostPush = 0.2f;                // world units per contact

// Contacts made with the lines the grid lists near the point (a line in two cells counts twice).
int ResolvePointWithLines(const LineGrid& grid, const std::vector<SolidLine>& lines, BodyPoint& point);
int ContactLine(const SolidLine& line, BodyPoint& point);      // 1 if the point was moved
