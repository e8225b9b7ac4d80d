// Riders and tracks built in code for the physics tests.
#pragma once
#include <cmath>

#include "rider/body.h"
#include "tests/support/body_builder.h"
#include "track/world.h"

// A small bike-like rider of 20 points: two wheels of seven points around a hub each, a frame
// and a rider with a break group, every link kind and two angle joints. Sits with its lowest
// points about 10 units above (x, y).
inline void BuildTestRider(Body& body, float x, float y) {
  ClearBody(body);
  auto wheel = [&](float cx, float cy) {
    BodyPoint* hub = Add(body, {.x = cx, .y = cy, .radius = 6.0f, .group = 1});
    BodyPoint* rim[6];
    for (int i = 0; i < 6; ++i) {
      const float angle = float(i) * 1.0471976f;
      rim[i] = Add(body, {.x = cx + 18.0f * std::cos(angle), .y = cy + 18.0f * std::sin(angle), .mass = 0.5f,
                          .radius = 5.0f, .group = 1, .friction = 0.3f});
    }
    for (int i = 0; i < 6; ++i) {
      Tie(body, hub, rim[i], {.stiffness = 0.6f});
      Tie(body, rim[i], rim[(i + 1) % 6], {.stiffness = 0.8f});
    }
    return hub;
  };
  BodyPoint* back = wheel(x + 20.0f, y + 28.0f);
  BodyPoint* front = wheel(x + 90.0f, y + 28.0f);
  BodyPoint* seat = Add(body, {.x = x + 45.0f, .y = y + 60.0f, .radius = 8.0f, .group = 2, .friction = 0.01f});
  BodyPoint* bar = Add(body, {.x = x + 80.0f, .y = y + 70.0f, .radius = 8.0f, .group = 2, .friction = 0.01f});
  BodyPoint* hip = Add(body, {.x = x + 48.0f, .y = y + 75.0f, .mass = 2.0f, .radius = 9.0f, .group = 3, .friction = 0.01f});
  BodyPoint* head = Add(body, {.x = x + 62.0f, .y = y + 110.0f, .mass = 1.5f, .radius = 12.0f, .group = 3, .friction = 0.01f});
  BodyPoint* hand = Add(body, {.x = x + 78.0f, .y = y + 85.0f, .mass = 0.5f, .radius = 5.0f, .group = 3, .collides = 0,
                               .friction = 0.01f});
  BodyPoint* tail = Add(body, {.x = x + 5.0f, .y = y + 55.0f, .mass = 0.3f, .radius = 4.0f});
  Tie(body, back, seat, {.stiffness = 0.9f});
  Tie(body, front, bar, {.stiffness = 0.9f});
  Tie(body, seat, bar, {.stiffness = 0.9f});
  Tie(body, back, bar, {.stiffness = 0.7f, .kind = LinkKind::Strut});
  Tie(body, front, seat, {.stiffness = 0.7f, .kind = LinkKind::Rope});
  Tie(body, back, front, {.stiffness = 0.5f, .kind = LinkKind::Thruster});
  // The rider's links break at a strain of k = rest x breakLimit.
  auto breakable = [](Link* link, float k) { link->breakLimit = k / link->restLength; };
  const TestLink rider{.stiffness = 0.8f, .breakGroup = 4, .breakFactor = 1.0f};
  breakable(Tie(body, seat, hip, rider), 0.3f);
  breakable(Tie(body, hip, head, rider), 0.3f);
  breakable(Tie(body, head, hand, {.stiffness = 0.6f, .breakGroup = 4, .breakFactor = 1.0f}), 0.3f);
  breakable(Tie(body, hand, bar, {.stiffness = 0.6f, .breakGroup = 4, .breakFactor = 1.0f}), 0.3f);
  breakable(Tie(body, hip, bar, {.stiffness = 0.3f, .breakFactor = 1.0f, .kind = LinkKind::Rope}), 0.5f);
  Tie(body, back, tail, {.stiffness = 0.5f});
  AddAngleJoint(body, head, hip, seat, 120.0f, 0.08f);
  AddAngleJoint(body, seat, back, tail, -60.0f, 0.2f);
}

// Hills, a drop, a boost line and a wall, drawn as 40-unit strokes like the pencil makes them.
inline void BuildTestTrack(World& world) {
  float px = -200.0f, py = 0.0f;
  for (int i = 0; i < 120; ++i) {
    const float x = -200.0f + 40.0f * float(i + 1);
    const float y = -float(i) * 9.0f + 60.0f * std::sin(float(i) * 0.21f);
    AddSolidLine(world, {px, py}, {x, y}, i % 17 == 0 ? 3.0f : 1.0f, i % 23 == 5 ? LineKind::BoostForward : LineKind::Normal);
    px = x;
    py = y;
  }
  AddSolidLine(world, {px, py - 300.0f}, {px + 2000.0f, py - 300.0f}, 1.0f, LineKind::Normal);
  AddSolidLine(world, {px + 2000.0f, py - 300.0f}, {px + 2000.0f, py + 300.0f}, 2.0f, LineKind::BoostBackward);
  AddSolidLine(world, {px + 900.0f, py - 280.0f}, {px + 700.0f, py - 200.0f}, 1.0f, LineKind::Normal);
}
