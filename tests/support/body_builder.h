// Small bodies for tests, every number named: Add(body, {.x = 30, .y = 40, .mass = 2}) and
// Tie(body, a, b, {.kind = LinkKind::Rope}). Fields left out take the values most tests want.
#pragma once
#include <cstdint>
#include <string>

#include "rider/body.h"

struct TestPoint {
  float x = 0, y = 0;                             // world units
  float mass = 1.0f;
  float radius = 10.0f;
  int32_t group = 0;
  uint8_t collides = 1;
  float friction = 0.0001f;
  int32_t id = 0;                                 // only for Loose: a body hands out its own ids
};

struct TestLink {
  float stiffness = 1.0f;
  int32_t breakGroup = 0;
  float breakFactor = 1000.0f;                    // breakLimit = rest length x breakFactor
  LinkKind kind = LinkKind::Spring;
};

// The point added to body; null when AddPoint refuses it.
inline BodyPoint* Add(Body& body, const TestPoint& p) {
  return AddPoint(body, p.x, p.y, p.mass, p.radius, p.group, p.collides, p.friction);
}

// A point at rest in no body, with the id given.
inline BodyPoint Loose(const TestPoint& p) {
  BodyPoint point = MakePoint(p.x, p.y, p.mass, p.radius, p.group);
  point.collides = p.collides;
  point.friction = p.friction;
  point.id = p.id;
  return point;
}

inline Link* Tie(Body& body, BodyPoint* a, BodyPoint* b, const TestLink& l = {}) {
  return AddLink(body, a, b, l.stiffness, l.breakGroup, l.breakFactor, l.kind);
}

// "points P links L joints J" from the body's running counts, for one readable comparison.
inline std::string CountsOf(const Body& body) {
  return "points " + std::to_string(body.pointsAdded) + " links " + std::to_string(body.linksAdded) + " joints " +
         std::to_string(body.jointsAdded);
}
