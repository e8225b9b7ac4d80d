#include "rider/link_breaking.h"

#include <cmath>

#include "shell/log.h"

namespace {

constexpr float kMinLinkLength = 0.01f;

bool LinkHolds(const Link& link) { return link.active && link.a && link.b && link.a->alive && link.b->alive; }

bool JointHolds(const AngleJoint& joint) {
  return joint.active && joint.p0 && joint.p1 && joint.p2 && joint.p0->alive && joint.p1->alive && joint.p2->alive;
}

void RemoveFromSpriteOrder(Body& body, const Link* link) { body.spriteOrder.entries.remove(const_cast<Link*>(link)); }

}  // namespace

bool LinkStrainBreaks(float length, float restLength, float breakLimit) {
  const float L = length < kMinLinkLength ? kMinLinkLength : length;
  const float strain = (L - restLength) / L;
  return std::fabs(strain) > restLength * breakLimit;
}

void CleanUpBody(Body& body, bool propagateGroups) {
  // Every removal restarts the walk at the head, so links switched off by a group break are
  // found (and logged) in the same clean-up.
  for (auto it = body.links.begin(); it != body.links.end();) {
    if (LinkHolds(*it)) {
      ++it;
      continue;
    }
    Log("link crashed. k = %7.5f", double(it->restLength * it->breakLimit));
    if (propagateGroups && it->breakGroup > 0) {
      const int32_t group = it->breakGroup;
      for (Link& other : body.links)
        if (other.breakGroup == group) other.active = false;
    }
    RemoveFromSpriteOrder(body, &*it);
    body.links.erase(it);
    body.linksAdded -= 1;
    it = body.links.begin();
  }
  for (auto it = body.joints.begin(); it != body.joints.end();) {
    if (JointHolds(*it)) {
      ++it;
      continue;
    }
    body.joints.erase(it);
    body.jointsAdded -= 1;
    it = body.joints.begin();
  }
  for (auto it = body.points.begin(); it != body.points.end();) {
    if (it->alive) {
      ++it;
      continue;
    }
    body.points.erase(it);
    body.pointsAdded -= 1;
    it = body.points.begin();
  }
}
