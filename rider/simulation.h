// One fixed 10 ms step of a body (position-based Verlet): gravity, then two passes of links,
// joints, point contacts, integration and line contacts, then the clean-up of broken parts.
// Every constant is per step or per pass; there is no time variable.
#pragma once
#include <cstdint>

#include "rider/body.h"

constexpr float kGravity = -0.03f;                // world units per step, added to y once per step
constexpr int kPassesPerStep = 2;

// What a body rides on: touch(context, point) resolves one point against the track's lines
// after each integration pass. A null touch means nothing to collide with.
struct Surface {
  int (*touch)(void* context, BodyPoint& point) = nullptr;
  void* context = nullptr;
};

void StepBody(Body& body, const Surface& surface);  // one step on the surface

// The stages of a pass, in the order StepBody runs them.
void SolveLink(Link& link);                       // skips inactive links and a zero mass sum; may break the link
void SolveAngleJoint(AngleJoint& joint);          // skips a zero-length arm
void SolvePointContacts(Body& body);              // point against point, pairs from the point grid
void IntegratePoint(BodyPoint& point);            // Verlet: v = p - prev; prev = p; p += v

// FNV-1a over the bit patterns of every point's x and y, in point-list order: the fingerprint of
// a ride, identical for identical rides on every build.
uint64_t HashBodyPositions(const Body& body);
