#include "rider/link_breaking.h"

#include <gtest/gtest.h>

#include <memory>

#include "rider/physics_log.h"
#include "rider/simulation.h"
#include "support/body_builder.h"
#include "track/world.h"

namespace {

// Five points in a row, 10 apart; links 0-1, 1-2, 2-3 in break group 3, link 3-4 in group 0.
struct Chain {
  Body body;
  BodyPoint* p[5] = {};
  Link* l[4] = {};
  Chain() {
    for (int i = 0; i < 5; ++i) p[i] = Add(body, {.x = float(i) * 10.0f, .radius = 2, .collides = 0, .friction = 0});
    for (int i = 0; i < 4; ++i) l[i] = Tie(body, p[i], p[i + 1], {.breakGroup = i < 3 ? 3 : 0, .breakFactor = 0.005f});
  }
};

}  // namespace

TEST(LinkBreaking, StrainThreshold) {
  // Rest 10, limit 0.05: k = 0.5, held from L = 6.67 to 20. With rest x limit >= 1 stretching
  // never breaks; crushing below rest / (1 + k) does, down to the 0.01 floor.
  const struct { float length, rest, limit; bool breaks; } cases[] = {
      {20.0f, 10, 0.05f, false}, {20.01f, 10, 0.05f, true}, {6.67f, 10, 0.05f, false}, {6.66f, 10, 0.05f, true},
      {1e6f, 20, 1, false},      {0.96f, 20, 1, false},     {0.94f, 20, 1, true},      {0.0f, 20, 1, true}};
  for (const auto& c : cases) EXPECT_EQ(LinkStrainBreaks(c.length, c.rest, c.limit), c.breaks) << c.length;
}

TEST(LinkBreaking, BrokenLinkTakesItsGroupAndLogsEach) {
  PhysicsLog log;
  auto world = std::make_unique<World>();
  Chain chain;
  AttachSprite(chain.body, chain.l[1], 15, 0, 0, 0, 4, 4, 0);
  AttachSprite(chain.body, chain.l[3], 15, 1, 0, 0, 4, 4, 0);
  // k = 10 x 0.05 = 0.5: stretching link 0-1 to 25 breaks it in the first solve of the step.
  chain.p[0]->x = chain.p[0]->prevX = -15;
  StepBodyOnTrack(chain.body, *world);
  ASSERT_EQ(chain.body.links.size(), 1u);
  EXPECT_EQ(chain.body.links.front().breakGroup, 0);
  EXPECT_EQ(log.Count("link crashed. k = 0.50000"), 3);
  // The sprite of a removed link leaves the order; spritesAdded does not follow.
  EXPECT_EQ(chain.body.spriteOrder.entries.size(), 1u);
  EXPECT_EQ(chain.body.spritesAdded, 2);
}

TEST(LinkBreaking, CleanUpWithoutGroupsAndDeadPoints) {
  PhysicsLog log;
  Chain chain;
  chain.l[0]->active = false;
  CleanUpBody(chain.body, false);
  EXPECT_EQ(log.Count("link crashed."), 1);        // the link alone: its group goes only in a step
  // A dead point takes every link and joint that uses it, one log line per link.
  AddAngleJoint(chain.body, chain.p[1], chain.p[2], chain.p[3], 90, 0.1f);
  AddAngleJoint(chain.body, chain.p[3], chain.p[4], chain.p[0], 90, 0.1f);
  chain.p[2]->alive = false;
  CleanUpBody(chain.body, false);
  EXPECT_EQ(CountsOf(chain.body), "points 4 links 1 joints 1");
  EXPECT_EQ(log.Count("link crashed."), 3);
  // Nothing broken: nothing changes, nothing is logged.
  CleanUpBody(chain.body, true);
  EXPECT_EQ(chain.body.linksAdded, 1);
  EXPECT_EQ(log.Count("link crashed."), 3);
}
