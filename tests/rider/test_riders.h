// Riders and tracks built in code for the physics tests.
#pragma once
#include <cmath>
#include <vector>

#include "rider/body.h"
#include "track/world.h"

// A small bike-like rider of 20 points: two wheels of seven points around a hub each, a frame
// and a rider with a break group, every link kind and two angle joints. Sits with its lowest
// points about 10 units above (x, y).
inline void BuildTestRider(Body& body, float x, float y) {
  ClearBody(body);
  std::vector<BodyPoint*> p;
  auto wheel = [&](float cx, float cy) {
    BodyPoint* hub = AddPoint(body, cx, cy, 1.0f, 6.0f, 1, 1, 0.0001f);
    p.push_back(hub);
    std::vector<BodyPoint*> rim;
    for (int i = 0; i < 6; ++i) {
      const float angle = float(i) * 1.0471976f;
      rim.push_back(AddPoint(body, cx + 18.0f * std::cos(angle), cy + 18.0f * std::sin(angle), 0.5f, 5.0f, 1, 1, 0.3f));
      p.push_back(rim.back());
    }
    for (int i = 0; i < 6; ++i) {
      AddLink(body, hub, rim[size_t(i)], 0.6f, 0, 1000.0f, LinkKind::Spring);
      AddLink(body, rim[size_t(i)], rim[size_t((i + 1) % 6)], 0.8f, 0, 1000.0f, LinkKind::Spring);
    }
    return hub;
  };
  BodyPoint* back = wheel(x + 20.0f, y + 28.0f);
  BodyPoint* front = wheel(x + 90.0f, y + 28.0f);
  BodyPoint* seat = AddPoint(body, x + 45.0f, y + 60.0f, 1.0f, 8.0f, 2, 1, 0.01f);
  BodyPoint* bar = AddPoint(body, x + 80.0f, y + 70.0f, 1.0f, 8.0f, 2, 1, 0.01f);
  BodyPoint* hip = AddPoint(body, x + 48.0f, y + 75.0f, 2.0f, 9.0f, 3, 1, 0.01f);
  BodyPoint* head = AddPoint(body, x + 62.0f, y + 110.0f, 1.5f, 12.0f, 3, 1, 0.01f);
  BodyPoint* hand = AddPoint(body, x + 78.0f, y + 85.0f, 0.5f, 5.0f, 3, 0, 0.01f);
  BodyPoint* tail = AddPoint(body, x + 5.0f, y + 55.0f, 0.3f, 4.0f, 0, 1, 0.0001f);
  AddLink(body, back, seat, 0.9f, 0, 1000.0f, LinkKind::Spring);
  AddLink(body, front, bar, 0.9f, 0, 1000.0f, LinkKind::Spring);
  AddLink(body, seat, bar, 0.9f, 0, 1000.0f, LinkKind::Spring);
  AddLink(body, back, bar, 0.7f, 0, 1000.0f, LinkKind::Strut);
  AddLink(body, front, seat, 0.7f, 0, 1000.0f, LinkKind::Rope);
  AddLink(body, back, front, 0.5f, 0, 1000.0f, LinkKind::Thruster);
  // The rider's links break at a strain of k = rest x breakLimit.
  auto breakable = [](Link* link, float k) { link->breakLimit = k / link->restLength; };
  breakable(AddLink(body, seat, hip, 0.8f, 4, 1.0f, LinkKind::Spring), 0.3f);
  breakable(AddLink(body, hip, head, 0.8f, 4, 1.0f, LinkKind::Spring), 0.3f);
  breakable(AddLink(body, head, hand, 0.6f, 4, 1.0f, LinkKind::Spring), 0.3f);
  breakable(AddLink(body, hand, bar, 0.6f, 4, 1.0f, LinkKind::Spring), 0.3f);
  breakable(AddLink(body, hip, bar, 0.3f, 0, 1.0f, LinkKind::Rope), 0.5f);
  AddLink(body, back, tail, 0.5f, 0, 1000.0f, LinkKind::Spring);
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
