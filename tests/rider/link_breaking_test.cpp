#include "rider/link_breaking.h"

#include <gtest/gtest.h>

#include <memory>

#include "rider/physics_log.h"
#include "rider/simulation.h"
#include "track/world.h"

namespace {

// Five points in a row, 10 apart; links 0-1, 1-2, 2-3 in break group 3, link 3-4 in group 0.
struct Chain {
  Body body;
  BodyPoint* p[5] = {};
  Link* l[4] = {};
  Chain() {
    for (int i = 0; i < 5; ++i) p[i] = AddPoint(body, float(i) * 10.0f, 0, 1, 2, 0, 0, 0);
    for (int i = 0; i < 4; ++i) l[i] = AddLink(body, p[i], p[i + 1], 1.0f, i < 3 ? 3 : 0, 0.005f, LinkKind::Spring);
  }
};

}  // namespace

TEST(LinkBreaking, StrainThreshold) {
  // Rest 10, limit 0.05: k = 0.5.
  EXPECT_FALSE(LinkStrainBreaks(20.0f, 10, 0.05f));
  EXPECT_TRUE(LinkStrainBreaks(20.01f, 10, 0.05f));
  EXPECT_FALSE(LinkStrainBreaks(6.67f, 10, 0.05f));
  EXPECT_TRUE(LinkStrainBreaks(6.66f, 10, 0.05f));
  // With rest x limit >= 1 stretching never breaks; crushing below rest / (1 + k) does.
  EXPECT_FALSE(LinkStrainBreaks(1e6f, 20, 1));
  EXPECT_FALSE(LinkStrainBreaks(0.96f, 20, 1));
  EXPECT_TRUE(LinkStrainBreaks(0.94f, 20, 1));
  EXPECT_TRUE(LinkStrainBreaks(0.0f, 20, 1));
}

TEST(LinkBreaking, BrokenLinkTakesItsGroupAndLogsEach) {
  PhysicsLog log;
  auto world = std::make_unique<World>();
  Chain chain;
  AttachSprite(chain.body, chain.l[1], 15, 0, 0, 0, 4, 4, 0);
  AttachSprite(chain.body, chain.l[3], 15, 1, 0, 0, 4, 4, 0);
  // k = 10 x 0.05 = 0.5: stretching link 0-1 to 25 breaks it in the first solve of the step.
  chain.p[0]->x = -15;
  chain.p[0]->prevX = -15;
  StepBodyOnTrack(chain.body, *world);
  EXPECT_EQ(chain.body.linksAdded, 1);
  ASSERT_EQ(chain.body.links.size(), 1u);
  EXPECT_EQ(chain.body.links.front().breakGroup, 0);
  EXPECT_EQ(log.Count("link crashed. k = 0.50000"), 3);
  // The sprite of a removed link leaves the order; spritesAdded does not follow.
  EXPECT_EQ(chain.body.spriteOrder.entries.size(), 1u);
  EXPECT_EQ(chain.body.spritesAdded, 2);
  EXPECT_EQ(chain.body.pointsAdded, 5);
}

TEST(LinkBreaking, CleanUpWithoutGroupsAndDeadPoints) {
  PhysicsLog log;
  Chain chain;
  chain.l[0]->active = 0;
  CleanUpBody(chain.body, false);
  EXPECT_EQ(chain.body.linksAdded, 3);
  EXPECT_EQ(log.Count("link crashed."), 1);
  // A dead point takes every link and joint that uses it, one log line per link.
  AddAngleJoint(chain.body, chain.p[1], chain.p[2], chain.p[3], 90, 0.1f);
  AddAngleJoint(chain.body, chain.p[3], chain.p[4], chain.p[0], 90, 0.1f);
  chain.p[2]->alive = 0;
  CleanUpBody(chain.body, false);
  EXPECT_EQ(chain.body.pointsAdded, 4);
  EXPECT_EQ(chain.body.links.size(), 1u);
  EXPECT_EQ(chain.body.linksAdded, 1);
  EXPECT_EQ(chain.body.jointsAdded, 1);
  EXPECT_EQ(log.Count("link crashed."), 3);
  // Nothing broken: nothing changes, nothing is logged.
  CleanUpBody(chain.body, true);
  EXPECT_EQ(chain.body.linksAdded, 1);
  EXPECT_EQ(log.Count("link crashed."), 3);
}
