// Text pictures of game records, exact to the bit (floats in hex), so two states compare as
// strings and a difference reads plainly in a failure message.
#pragma once
#include <cstdio>
#include <string>

#include "graphics/sprites.h"
#include "rider/body.h"
#include "rider/current_rider.h"
#include "track/world.h"

inline std::string DescribeFloat(float value) {
  char text[48];
  snprintf(text, sizeof text, "%a", double(value));
  return text;
}

inline std::string DescribeSnapshot(const BodySnapshot& s) {
  std::string out = "counts " + std::to_string(s.pointsAdded) + "/" + std::to_string(s.linksAdded) + "/" +
                    std::to_string(s.jointsAdded) + "\n";
  for (const BodyPoint& p : s.points)
    out += "point " + std::to_string(p.id) + " " + DescribeFloat(p.x) + " " + DescribeFloat(p.y) + " " +
           DescribeFloat(p.prevX) + " " + DescribeFloat(p.prevY) + " r" + DescribeFloat(p.radius) + " m" +
           DescribeFloat(p.mass) + " f" + DescribeFloat(p.friction) + " g" + std::to_string(p.group) + " c" +
           std::to_string(p.collides) + "\n";
  for (const Link& l : s.links) {
    out += std::string("link ") + std::to_string(l.a->id) + "-" + std::to_string(l.b->id) + " k" +
           std::to_string(int(l.kind)) + " bg" + std::to_string(l.breakGroup) + " s" + DescribeFloat(l.stiffness) +
           " bl" + DescribeFloat(l.breakLimit) + " rl" + DescribeFloat(l.restLength) + " sprite" +
           std::to_string(l.hasSprite);
    if (l.hasSprite)
      out += std::string(" ") + std::to_string(l.spriteSlot) + "/" + std::to_string(l.spriteFrame) + "/" +
             std::to_string(l.spriteDepth) + " " + DescribeFloat(l.spriteAlong) + " " + DescribeFloat(l.spriteAcross) +
             " " + DescribeFloat(l.spriteHalfW) + " " + DescribeFloat(l.spriteHalfH);
    out += "\n";
  }
  for (const AngleJoint& j : s.joints)
    out += std::string("joint ") + std::to_string(j.p0->id) + "," + std::to_string(j.p1->id) + "," + std::to_string(j.p2->id) +
           " s" + DescribeFloat(j.stiffness) + " a" + DescribeFloat(j.limitAngle) + "\n";
  return out;
}

inline std::string DescribeRider(const CurrentRider& rider) {
  const SpriteSlot* sheet = SpriteSlotInfo(15);
  return "loaded " + std::to_string(rider.loaded) + " path '" + rider.path + "' focus " +
         std::to_string(rider.focusPointId) + " sheet '" + rider.spriteSheet + "' slot15 '" +
         (sheet ? sheet->path : "") + "'\n" + DescribeSnapshot(rider.snapshot);
}

inline std::string DescribeLines(const World& world) {
  std::string out = "solid " + std::to_string(world.solidLineCount) + " scenery " +
                    std::to_string(world.sceneryLineCount) + "\n";
  for (const SolidLine& l : world.solidLines)
    if (l.live)
      out += "S " + DescribeFloat(l.x1) + " " + DescribeFloat(l.y1) + " " + DescribeFloat(l.x2) + " " +
           DescribeFloat(l.y2) + " t" + DescribeFloat(l.thickness) + " k" + std::to_string(uint32_t(l.kind)) + "\n";
  for (const SceneryLine& l : world.sceneryLines)
    if (l.live)
      out += "C " + DescribeFloat(l.x1) + " " + DescribeFloat(l.y1) + " " + DescribeFloat(l.x2) + " " +
           DescribeFloat(l.y2) + " t" + DescribeFloat(l.thickness) + " rgb" + std::to_string(l.r) + "," +
           std::to_string(l.g) + "," + std::to_string(l.b) + "\n";
  return out;
}

// Everything a track load may change: the lines, the start state and flag, the demo flag and
// the rider body.
inline std::string DescribeWorld(const World& world) {
  BodySnapshot rider;
  TakeSnapshot(world.rider, rider);
  return DescribeLines(world) + "start flag " + std::to_string(world.startFlagSet) + " at " +
         DescribeFloat(world.flag.x) + "," + DescribeFloat(world.flag.y) + " demo " +
         std::to_string(world.demoLoaded) + "\nstart:\n" + DescribeSnapshot(world.startSnapshot) + "rider body:\n" +
         DescribeSnapshot(rider);
}
