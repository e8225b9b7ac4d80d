#include "rider/body.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "shell/log.h"

namespace {

constexpr int32_t kProvisionalCount = 10000;     // provisional ids 0..9999, then -1

// The point-grid cell of a position for the body's current origin.
void PlacePointInGrid(const PointGrid& grid, BodyPoint& point) {
  const float cx = (point.x + grid.originX) * kPointGridScale;
  const float cy = (point.y + grid.originY) * kPointGridScale;
  point.cellX = cx >= float(kPointGridSize - 1) ? kPointGridSize - 1 : (cx > 0.0f ? int32_t(cx) : 0);
  point.cellY = cy >= float(kPointGridSize - 1) ? kPointGridSize - 1 : (cy > 0.0f ? int32_t(cy) : 0);
}

void EmptyPointGrid(PointGrid& grid) {
  for (int32_t index : grid.filled) grid.cells[size_t(index)] = PointGridCell{};
  grid.filled.clear();
}

// The smallest non-negative id no point of the body has: the way out when ids reach the top
// of the 32-bit range.
int32_t FirstFreeId(const std::list<BodyPoint>& points) {
  std::vector<int32_t> ids;
  ids.reserve(points.size());
  for (const BodyPoint& point : points)
    if (point.id >= 0) ids.push_back(point.id);
  std::sort(ids.begin(), ids.end());
  int32_t candidate = 0;
  for (int32_t id : ids) {
    if (id > candidate) break;
    if (id == candidate) candidate += 1;
  }
  return candidate;
}

bool LinkJoins(const Link& link, const BodyPoint* a, const BodyPoint* b) {
  return (link.a == a && link.b == b) || (link.a == b && link.b == a);
}

bool IdAmong(int32_t id, const AngleJoint& joint) {
  return id == joint.p0->id || id == joint.p1->id || id == joint.p2->id;
}

void InsertIntoSpriteOrder(Body& body, Link* link) {
  auto position = std::find_if(body.spriteOrder.entries.begin(), body.spriteOrder.entries.end(),
                               [&](const Link* entry) { return entry->spriteDepth > link->spriteDepth; });
  body.spriteOrder.entries.insert(position, link);
  body.spritesAdded += 1;
}

template <typename Points>
auto* FindById(Points& points, int32_t id) {
  decltype(&points.front()) found = nullptr;
  if (id < 0) return found;
  for (auto& point : points)
    if (point.id == id) return &point;
  return found;
}

Link LinkValues(const Link& from) {
  Link link;
  link.restLength = from.restLength;
  link.stiffness = from.stiffness;
  link.breakLimit = from.breakLimit;
  link.breakGroup = from.breakGroup;
  link.kind = from.kind;
  if (from.hasSprite) {
    link.hasSprite = 1;
    link.spriteSlot = from.spriteSlot;
    link.spriteFrame = from.spriteFrame;
    link.spriteDepth = from.spriteDepth;
    link.spriteAlong = from.spriteAlong;
    link.spriteAcross = from.spriteAcross;
    link.spriteHalfW = from.spriteHalfW;
    link.spriteHalfH = from.spriteHalfH;
  }
  return link;
}

// Link ids only grow within a generation. Running out of them numbers the links afresh from 0
// in a new generation, so a handle never finds a newer link under a reused id.
int32_t NextLinkId(Body& body) {
  if (body.nextLinkId == INT32_MAX) {
    body.nextLinkId = 0;
  body.nextJointId = 0;
    for (Link& link : body.links) link.id = body.nextLinkId++;
    body.generation += 1;
  }
  return body.nextLinkId++;
}

// Joint ids follow the same rule as link ids.
int32_t NextJointId(Body& body) {
  if (body.nextJointId == INT32_MAX) {
    body.nextJointId = 0;
    for (AngleJoint& joint : body.joints) joint.id = body.nextJointId++;
    body.generation += 1;
  }
  return body.nextJointId++;
}

float Distance(const BodyPoint& a, const BodyPoint& b) {
  const float dx = b.x - a.x;
  const float dy = b.y - a.y;
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

// ---- handles ----

PointHandle HandleOf(const Body& body, const BodyPoint& point) { return {point.id, body.generation}; }

LinkHandle HandleOf(const Body& body, const Link& link) { return {link.id, body.generation}; }

JointHandle HandleOf(const Body& body, const AngleJoint& joint) { return {joint.id, body.generation}; }

BodyPoint* Resolve(Body& body, PointHandle handle) {
  return handle.generation == body.generation ? FindPointById(body, handle.id) : nullptr;
}

const BodyPoint* Resolve(const Body& body, PointHandle handle) {
  return handle.generation == body.generation ? FindPointById(body, handle.id) : nullptr;
}

Link* Resolve(Body& body, LinkHandle handle) {
  return const_cast<Link*>(Resolve(static_cast<const Body&>(body), handle));
}

const Link* Resolve(const Body& body, LinkHandle handle) {
  if (handle.generation != body.generation || handle.id < 0) return nullptr;
  for (const Link& link : body.links)
    if (link.id == handle.id) return &link;
  return nullptr;
}

AngleJoint* Resolve(Body& body, JointHandle handle) {
  return const_cast<AngleJoint*>(Resolve(static_cast<const Body&>(body), handle));
}

const AngleJoint* Resolve(const Body& body, JointHandle handle) {
  if (handle.generation != body.generation || handle.id < 0) return nullptr;
  for (const AngleJoint& joint : body.joints)
    if (joint.id == handle.id) return &joint;
  return nullptr;
}

// ---- points and provisional ids ----

int32_t NextProvisionalPointId(Body& body) {
  // The counter hands out 0..9999; the 10001st call in a row gets -1 and starts over.
  if (body.provisionalNext >= kProvisionalCount) {
    body.provisionalNext = 0;
    return -1;
  }
  return body.provisionalNext++;
}

void SetProvisionalPointId(Body& body, int32_t value) {
  body.provisionalNext = std::min(std::max(value, 0), kProvisionalCount);
}

BodyPoint MakePoint(float x, float y, float mass, float radius, int32_t group) {
  BodyPoint point;
  point.x = point.prevX = x;
  point.y = point.prevY = y;
  point.mass = mass;
  point.radius = radius;
  point.group = group;
  point.id = 0;
  return point;
}

bool PointIsFinite(const BodyPoint& point) {
  return std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.prevX) &&
         std::isfinite(point.prevY) && std::isfinite(point.mass) && std::isfinite(point.radius) &&
         std::isfinite(point.friction);
}

// ---- body operations ----

void ClearBody(Body& body) {
  EmptyPointGrid(body.grid);
  body.spriteOrder.entries.clear();
  body.joints.clear();
  body.links.clear();
  body.points.clear();
  body.provisionalNext = 0;
  body.nextPointId = 0;
  body.nextLinkId = 0;
  body.highestPointId = -1;
  body.generation += 1;
  body.pointsAdded = 0;
  body.linksAdded = 0;
  body.jointsAdded = 0;
  body.spritesAdded = 0;
}

BodyPoint* AddPoint(Body& body, float x, float y, float mass, float radius, int32_t group, uint8_t collides,
                    float friction) {
  BodyPoint point = MakePoint(x, y, mass, radius, group);
  point.id = NextProvisionalPointId(body);
  point.collides = collides;
  point.friction = friction;
  if (!PointIsFinite(point)) return nullptr;
  PlacePointInGrid(body.grid, point);
  // The next id is above every id present, except after the ids ran into the top of the
  // 32-bit range: from then on free ids are searched.
  point.id = FindPointById(body, body.nextPointId) ? FirstFreeId(body.points) : body.nextPointId;
  // Such an id may be one a removed point had: handles made before must not find the new point.
  if (point.id <= body.highestPointId) body.generation += 1;
  body.highestPointId = std::max(body.highestPointId, point.id);
  body.points.push_back(point);
  body.nextPointId = point.id == INT32_MAX ? FirstFreeId(body.points) : point.id + 1;
  body.pointsAdded += 1;
  return &body.points.back();
}

Link* AddLink(Body& body, BodyPoint* a, BodyPoint* b, float stiffness, int32_t breakGroup, float breakFactor,
              LinkKind kind) {
  if (!a || !b) return nullptr;
  Link link;
  link.a = a;
  link.b = b;
  link.restLength = Distance(*a, *b);
  link.stiffness = stiffness;
  link.breakLimit = link.restLength * breakFactor;
  link.breakGroup = breakGroup;
  link.kind = kind;
  for (Link& existing : body.links) {
    if (!LinkJoins(existing, a, b)) continue;
    link.id = existing.id;                      // the same record: its handles stay good
    existing = link;
    return &existing;
  }
  link.id = NextLinkId(body);
  body.links.push_back(link);
  body.linksAdded += 1;
  return &body.links.back();
}

AngleJoint* AddAngleJoint(Body& body, BodyPoint* p0, BodyPoint* p1, BodyPoint* p2, float limitDegrees,
                          float stiffness) {
  if (!p0 || !p1 || !p2) return nullptr;
  AngleJoint joint;
  joint.p0 = p0;
  joint.p1 = p1;
  joint.p2 = p2;
  joint.limitAngle = limitDegrees * 3.1415927f * 0.0055555557f;
  joint.stiffness = stiffness;
  for (AngleJoint& existing : body.joints) {
    if (!IdAmong(existing.p0->id, joint) || !IdAmong(existing.p1->id, joint) || !IdAmong(existing.p2->id, joint))
      continue;
    joint.id = existing.id;                     // the same record: its handles stay good
    existing = joint;
    return &existing;
  }
  joint.id = NextJointId(body);
  body.joints.push_back(joint);
  body.jointsAdded += 1;
  return &body.joints.back();
}

bool BodyHasLink(const Body& body, const Link* link) {
  for (const Link& candidate : body.links)
    if (&candidate == link) return true;
  return false;
}

void AttachSprite(Body& body, Link* link, int32_t slot, int32_t frame, float along, float across, float halfW,
                  float halfH, int32_t depth) {
  if (!link || !BodyHasLink(body, link)) {
    Log("adding sprite error: link not found!");
    return;
  }
  link->hasSprite = slot == -1 ? 0 : 1;
  link->spriteSlot = slot;
  link->spriteFrame = frame;
  link->spriteAlong = along;
  link->spriteAcross = across;
  link->spriteHalfW = halfW;
  link->spriteHalfH = halfH;
  link->spriteDepth = depth;
  const auto& entries = body.spriteOrder.entries;
  if (body.spritesAdded != 0 && std::find(entries.begin(), entries.end(), link) != entries.end()) return;
  InsertIntoSpriteOrder(body, link);
}

void SetSpriteDepth(Body& body, Link* link, int32_t depth) {
  if (!link || !BodyHasLink(body, link)) {
    Log("swap sprite depth error: link not found!");
    return;
  }
  auto& entries = body.spriteOrder.entries;
  auto found = std::find(entries.begin(), entries.end(), link);
  if (found != entries.end()) {
    entries.erase(found);
    body.spritesAdded -= 1;
  }
  link->spriteDepth = depth;
  InsertIntoSpriteOrder(body, link);
}

BodyPoint* FindPointById(Body& body, int32_t id) { return FindById(body.points, id); }

const BodyPoint* FindPointById(const Body& body, int32_t id) { return FindById(body.points, id); }

BodyPoint* FindNearestPoint(Body& body, float x, float y, float tolerance) {
  BodyPoint* nearest = nullptr;
  float nearestDistance = 100000.0f;
  for (BodyPoint& point : body.points) {
    const float dx = point.x - x;
    const float dy = point.y - y;
    const float d = std::sqrt(dx * dx + dy * dy);
    if (d < point.radius + tolerance && d < nearestDistance) {
      nearest = &point;
      nearestDistance = d;
    }
  }
  return nearest;
}

Link* FindNearestLink(Body& body, float x, float y, float tolerance) {
  Link* nearest = nullptr;
  float nearestDistance = tolerance;
  for (Link& link : body.links) {
    const float dx = link.b->x - link.a->x;
    const float dy = link.b->y - link.a->y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (!(length > 0.0f)) continue;                // no direction to measure across
    const float mx = x - link.a->x;
    const float my = y - link.a->y;
    const float along = (dx * mx + dy * my) / length;
    const float across = std::fabs(dx * my - dy * mx) / length;
    if (along < -tolerance || along > length + tolerance) continue;
    if (across < nearestDistance) {
      nearest = &link;
      nearestDistance = across;
    }
  }
  return nearest;
}

void TakeSnapshot(const Body& body, BodySnapshot& snapshot) {
  ClearSnapshot(snapshot);
  for (const BodyPoint& point : body.points) AddSnapshotPoint(snapshot, point);
  for (const Link& link : body.links) AddSnapshotLink(snapshot, link.a->id, link.b->id, LinkValues(link));
  for (const AngleJoint& joint : body.joints)
    AddSnapshotJoint(snapshot, joint.p0->id, joint.p1->id, joint.p2->id, joint.limitAngle, joint.stiffness);
}

void CopyBody(const Body& from, Body& to) {
  if (&from == &to) return;
  ClearBody(to);
  std::unordered_map<const BodyPoint*, BodyPoint*> points;
  for (const BodyPoint& point : from.points) {
    to.points.push_back(point);
    to.points.back().cellNext = nullptr;
    points[&point] = &to.points.back();
  }
  std::unordered_map<const Link*, Link*> links;
  for (const Link& link : from.links) {
    to.links.push_back(link);
    to.links.back().a = points.at(link.a);
    to.links.back().b = points.at(link.b);
    links[&link] = &to.links.back();
  }
  for (const AngleJoint& joint : from.joints) {
    to.joints.push_back(joint);
    to.joints.back().p0 = points.at(joint.p0);
    to.joints.back().p1 = points.at(joint.p1);
    to.joints.back().p2 = points.at(joint.p2);
  }
  for (const Link* link : from.spriteOrder.entries) to.spriteOrder.entries.push_back(links.at(link));
  to.pointsAdded = from.pointsAdded;
  to.linksAdded = from.linksAdded;
  to.jointsAdded = from.jointsAdded;
  to.spritesAdded = from.spritesAdded;
  to.nextPointId = from.nextPointId;
  to.highestPointId = from.highestPointId;
  to.nextLinkId = from.nextLinkId;
  to.nextJointId = from.nextJointId;
  to.provisionalNext = from.provisionalNext;
}

// Ids: copied points keep theirs. The next id jumps to id + 100 whenever a copied id passes it,
// and in the end is made larger than every id present, so a point added later is never
// confused with an old one (ids 0, 57, 3 give 157).
void RebuildFromSnapshot(Body& body, const BodySnapshot& snapshot) {
  ClearBody(body);
  if (snapshot.pointsAdded <= 0) return;
  int64_t largest = -1;
  for (const BodyPoint& source : snapshot.points) {
    if (!PointIsFinite(source)) {
      Log("rider point %d dropped: not a finite number", source.id);
      continue;
    }
    BodyPoint point = source;
    point.cellNext = nullptr;
    body.points.push_back(point);
    body.pointsAdded += 1;
    if (point.id > body.nextPointId) {
      body.nextPointId = int32_t(std::min<int64_t>(int64_t(point.id) + 100, INT32_MAX));
      SetProvisionalPointId(body, int32_t(std::min<int64_t>(int64_t(point.id) + 200, kProvisionalCount)));
    }
    largest = std::max<int64_t>(largest, point.id);
  }
  body.highestPointId = int32_t(largest);
  if (body.nextPointId <= largest)
    body.nextPointId = largest < INT32_MAX ? int32_t(largest + 1) : FirstFreeId(body.points);
  if (snapshot.linksAdded > 0) {
    for (const Link& source : snapshot.links) {
      BodyPoint* a = source.a ? FindPointById(body, source.a->id) : nullptr;
      BodyPoint* b = source.b ? FindPointById(body, source.b->id) : nullptr;
      if (!a || !b) {
        Log("rider link dropped: its point is missing");
        continue;
      }
      Link link;
      link.a = a;
      link.b = b;
      link.id = NextLinkId(body);
      link.stiffness = source.stiffness;
      link.breakGroup = source.breakGroup;
      link.kind = source.kind;
      link.restLength = source.restLength;
      link.breakLimit = source.breakLimit;
      body.links.push_back(link);
      body.linksAdded += 1;
      if (source.hasSprite)
        AttachSprite(body, &body.links.back(), source.spriteSlot, source.spriteFrame, source.spriteAlong,
                     source.spriteAcross, source.spriteHalfW, source.spriteHalfH, source.spriteDepth);
    }
  }
  if (snapshot.jointsAdded > 0) {
    for (const AngleJoint& source : snapshot.joints) {
      BodyPoint* p0 = source.p0 ? FindPointById(body, source.p0->id) : nullptr;
      BodyPoint* p1 = source.p1 ? FindPointById(body, source.p1->id) : nullptr;
      BodyPoint* p2 = source.p2 ? FindPointById(body, source.p2->id) : nullptr;
      if (!p0 || !p1 || !p2) {
        Log("rider joint dropped: its point is missing");
        continue;
      }
      AngleJoint joint;
      joint.p0 = p0;
      joint.p1 = p1;
      joint.p2 = p2;
      joint.limitAngle = source.limitAngle;
      joint.stiffness = source.stiffness;
      joint.id = NextJointId(body);
      body.joints.push_back(joint);
      body.jointsAdded += 1;
    }
  }
}

// ---- snapshot operations ----

void ClearSnapshot(BodySnapshot& snapshot) {
  snapshot.joints.clear();
  snapshot.links.clear();
  snapshot.points.clear();
  snapshot.pointsAdded = 0;
  snapshot.linksAdded = 0;
  snapshot.jointsAdded = 0;
}

BodyPoint* AddSnapshotPoint(BodySnapshot& snapshot, const BodyPoint& point) {
  snapshot.points.push_back(point);
  snapshot.points.back().cellNext = nullptr;
  snapshot.pointsAdded += 1;
  return &snapshot.points.back();
}

Link* AddSnapshotLink(BodySnapshot& snapshot, int32_t idA, int32_t idB, const Link& fields) {
  BodyPoint* a = FindSnapshotPoint(snapshot, idA);
  BodyPoint* b = FindSnapshotPoint(snapshot, idB);
  if (!a || !b) {
    Log("rider link dropped: no point with id %d", a ? idB : idA);
    return nullptr;
  }
  Link link = fields;
  link.a = a;
  link.b = b;
  snapshot.links.push_back(link);
  snapshot.linksAdded += 1;
  return &snapshot.links.back();
}

AngleJoint* AddSnapshotJoint(BodySnapshot& snapshot, int32_t id0, int32_t id1, int32_t id2, float limitRadians,
                             float stiffness) {
  BodyPoint* p0 = FindSnapshotPoint(snapshot, id0);
  BodyPoint* p1 = FindSnapshotPoint(snapshot, id1);
  BodyPoint* p2 = FindSnapshotPoint(snapshot, id2);
  if (!p0 || !p1 || !p2) {
    Log("rider joint dropped: no point with id %d", !p0 ? id0 : (!p1 ? id1 : id2));
    return nullptr;
  }
  AngleJoint joint;
  joint.p0 = p0;
  joint.p1 = p1;
  joint.p2 = p2;
  joint.limitAngle = limitRadians;
  joint.stiffness = stiffness;
  snapshot.joints.push_back(joint);
  snapshot.jointsAdded += 1;
  return &snapshot.joints.back();
}

BodyPoint* FindSnapshotPoint(BodySnapshot& snapshot, int32_t id) { return FindById(snapshot.points, id); }

const BodyPoint* FindSnapshotPoint(const BodySnapshot& snapshot, int32_t id) {
  return FindById(snapshot.points, id);
}

void CopySnapshot(const BodySnapshot& from, BodySnapshot& to) {
  if (&from == &to) return;
  ClearSnapshot(to);
  // Ends are matched by address, so a snapshot with repeated ids copies exactly.
  std::unordered_map<const BodyPoint*, BodyPoint*> copies;
  for (const BodyPoint& point : from.points) copies[&point] = AddSnapshotPoint(to, point);
  auto copyOf = [&](const BodyPoint* point) -> BodyPoint* {
    auto it = copies.find(point);
    return it == copies.end() ? nullptr : it->second;
  };
  for (const Link& link : from.links) {
    Link copy = link;
    copy.a = copyOf(link.a);
    copy.b = copyOf(link.b);
    if (!copy.a || !copy.b) continue;
    to.links.push_back(copy);
    to.linksAdded += 1;
  }
  for (const AngleJoint& joint : from.joints) {
    AngleJoint copy = joint;
    copy.p0 = copyOf(joint.p0);
    copy.p1 = copyOf(joint.p1);
    copy.p2 = copyOf(joint.p2);
    if (!copy.p0 || !copy.p1 || !copy.p2) continue;
    to.joints.push_back(copy);
    to.jointsAdded += 1;
  }
}

namespace {

template <typename Records>
size_t BytesOfRecords(const Records& records) {
  constexpr size_t kNode = 2 * sizeof(void*);     // a list node's links
  return records.points.size() * (sizeof(BodyPoint) + kNode) + records.links.size() * (sizeof(Link) + kNode) +
         records.joints.size() * (sizeof(AngleJoint) + kNode);
}

}  // namespace

size_t RecordBytes(const BodySnapshot& snapshot) { return BytesOfRecords(snapshot); }

size_t RecordBytes(const Body& body) { return BytesOfRecords(body); }
