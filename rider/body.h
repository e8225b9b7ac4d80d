// The soft body of a rider: mass points joined by links (distance constraints) and angle
// joints, with sprites carried by links and drawn in a depth order of their own. `Body` is the
// live, simulated instance; `BodySnapshot` is its stored form (start state, ghost, rider files).
//
// Lists hold their records at stable addresses: links, joints, the sprite order and the point
// grid refer to points and links by pointer, and those references are removed together with
// the records (see rider/link_breaking.h). Code outside the body holds PointHandle / LinkHandle
// instead, which cannot dangle. Bodies and snapshots are not copyable; use TakeSnapshot /
// RebuildFromSnapshot / CopySnapshot.
#pragma once
#include <cstddef>
#include <cstdint>
#include <list>
#include <vector>

struct BodyPoint {
  float x = 0, y = 0;                             // current position, world units, y up
  float prevX = 0, prevY = 0;                     // position at the previous integration
  float vx = 0, vy = 0;                           // position - previous position at the last integration
  float mass = 1.0f;                              // weights every shared correction
  float radius = 10.0f;                           // contact radius and drawn size
  bool alive = true;                              // false: removed by the next clean-up
  BodyPoint* cellNext = nullptr;                  // next point in its point-grid cell chain
  int32_t cellX = 0, cellY = 0;                   // point-grid cell, each 0..255
  int32_t group = 0;                              // equal non-zero groups never touch each other
  uint8_t collides = 1;                           // non-zero: takes part in point contacts; selects the drawn
                                                  // frame. A stored byte, kept as read so a file saves back whole
  int32_t id = 0;                                 // identity inside the body; links and joints are stored by id
  float friction = 0.0001f;                       // fraction of tangential velocity removed per line contact
};

enum class LinkKind : int32_t {
  Spring = 0,                                     // corrects stretching and compression
  Rope = 1,                                       // acts only while length >= rest length
  Strut = 2,                                      // acts only while length <= rest length
  Thruster = 3,                                   // moves both ends by 0.001 (b - a), then acts as a spring
};                                                // any other value acts as a Spring and is drawn black

struct Link {
  BodyPoint* a = nullptr;                         // ends; the order matters for Thruster and sprites
  BodyPoint* b = nullptr;
  float restLength = 0;                           // world units
  float stiffness = 0;                            // fraction of the length error corrected per pass
  float breakLimit = 0;                           // breaks when |L - rest| / L > rest * breakLimit
  float length = 0;                               // measured at the last solve
  bool active = true;                             // false: broken, removed by the next clean-up
  int32_t breakGroup = 0;                         // > 0: breaks together with its group
  LinkKind kind = LinkKind::Spring;
  int32_t id = -1;                                // identity inside the body, for handles; never stored
  uint8_t hasSprite = 0;                          // non-zero: the sprite fields apply. A stored byte, kept as
                                                  // read so a file saves back whole
  int32_t spriteSlot = -1;                        // sprite slot of the image; -1 none
  int32_t spriteFrame = 0;
  int32_t spriteDepth = 0;                        // smaller is drawn first (further back)
  float spriteAlong = 0;                          // fraction of the link length from the midpoint towards a
  float spriteAcross = 0;                         // world units to the left of the direction b -> a
  float spriteHalfW = 0, spriteHalfH = 0;         // half size of the drawn quad, world units
};

struct AngleJoint {
  BodyPoint* p0 = nullptr;                        // end
  BodyPoint* p1 = nullptr;                        // middle
  BodyPoint* p2 = nullptr;                        // end
  float limitAngle = 0;                           // radians, signed
  float stiffness = 0;
  float measured = 0;                             // asin of the clamped cross product of the last solve
  bool active = true;
  int32_t id = -1;                                // identity inside the body, for handles; never stored
};

// Links carrying a sprite, by depth ascending; equal depths keep their insertion order.
struct SpriteOrder {
  std::list<Link*> entries;
};

constexpr int kPointGridSize = 256;               // cells per axis
constexpr float kPointGridScale = 0.025f;         // cells per world unit (40-unit cells)

struct PointGridCell {
  BodyPoint* head = nullptr;
  BodyPoint* tail = nullptr;
};

// Broad phase of point-against-point contacts. The origin is set from the body's mean before
// every contact pass, so in practice all points of a body share cell (0, 0).
struct PointGrid {
  std::vector<PointGridCell> cells = std::vector<PointGridCell>(kPointGridSize * kPointGridSize);
  std::vector<int32_t> filled;                    // cell indices filled by the last pass
  float originX = 0, originY = 0;
};

struct Body {
  std::list<BodyPoint> points;
  std::list<Link> links;
  PointGrid grid;
  int32_t pointsAdded = 0;                        // follow the list sizes through adds and removals
  int32_t linksAdded = 0;
  int32_t jointsAdded = 0;
  std::list<AngleJoint> joints;
  SpriteOrder spriteOrder;
  int32_t spritesAdded = 0;                       // insertions into the sprite order minus explicit removals

  // Identities: ClearBody resets the counters and bumps the generation.
  int32_t nextPointId = 0;                        // id for the next added point
  int32_t highestPointId = -1;                    // largest point id handed out in this generation
  int32_t nextLinkId = 0;                         // id for the next added link
  int32_t nextJointId = 0;                        // id for the next added joint
  int32_t provisionalNext = 0;                    // next provisional point id, 0..10000 (see below)
  uint32_t generation = 0;                        // bumped when an id may name another record: handles die

  Body() = default;
  Body(const Body&) = delete;
  Body& operator=(const Body&) = delete;
};

// A stored body: links and joints point into the snapshot's own point list.
struct BodySnapshot {
  std::list<BodyPoint> points;
  std::list<Link> links;
  std::list<AngleJoint> joints;
  int32_t pointsAdded = 0;
  int32_t linksAdded = 0;
  int32_t jointsAdded = 0;

  BodySnapshot() = default;
  BodySnapshot(const BodySnapshot&) = delete;
  BodySnapshot& operator=(const BodySnapshot&) = delete;
};

// Checked references to a body's points, links and joints, for code outside the body (a dragged point,
// the editor's picks). A handle resolves to null once its record is removed (clean-up) or the
// body is cleared or rebuilt; it never names a record that is not in the body's lists. A record
// marked for the next clean-up still resolves. Resolving walks the list (bodies are small).
struct PointHandle {
  int32_t id = -1;                                // BodyPoint::id; -1 names nothing
  uint32_t generation = 0;                        // Body::generation when the handle was made
};

struct LinkHandle {
  int32_t id = -1;                                // Link::id; -1 names nothing
  uint32_t generation = 0;
};

struct JointHandle {
  int32_t id = -1;                                // AngleJoint::id; -1 names nothing
  uint32_t generation = 0;
};

PointHandle HandleOf(const Body& body, const BodyPoint& point);  // point must be one of body's points
LinkHandle HandleOf(const Body& body, const Link& link);          // link must be one of body's links
JointHandle HandleOf(const Body& body, const AngleJoint& joint);  // joint must be one of body's joints
BodyPoint* Resolve(Body& body, PointHandle handle);  // null: removed, or the body cleared/rebuilt since
const BodyPoint* Resolve(const Body& body, PointHandle handle);
Link* Resolve(Body& body, LinkHandle handle);        // null: removed, or the body cleared/rebuilt since
const Link* Resolve(const Body& body, LinkHandle handle);
AngleJoint* Resolve(Body& body, JointHandle handle); // null: removed, or the body cleared/rebuilt since
const AngleJoint* Resolve(const Body& body, JointHandle handle);

// ---- points and provisional ids ----
// Each body counts provisional ids 0..10000, then -1 once, then from 0 again; every add draws
// one and replaces it with the body's own id, so they only name points not yet in a body.
int32_t NextProvisionalPointId(Body& body);
void SetProvisionalPointId(Body& body, int32_t value);  // values of 10000 and above give -1 next
BodyPoint MakePoint(float x, float y, float mass, float radius, int32_t group);  // at rest, id 0
bool PointIsFinite(const BodyPoint& point);      // position, previous position, mass, radius, friction

// ---- body operations ----
void ClearBody(Body& body);                       // empties everything, ids and counters back to 0, handles die
BodyPoint* AddPoint(Body& body, float x, float y, float mass, float radius, int32_t group, uint8_t collides,
                    float friction);          // the new point; null (nothing added) for a non-finite value
Link* AddLink(Body& body, BodyPoint* a, BodyPoint* b, float stiffness, int32_t breakGroup, float breakFactor,
              LinkKind kind);                 // null if an end is missing; an existing a-b link is overwritten
AngleJoint* AddAngleJoint(Body& body, BodyPoint* p0, BodyPoint* p1, BodyPoint* p2, float limitDegrees,
                          float stiffness);   // null if a point is missing; a joint on the same ids is overwritten
void AttachSprite(Body& body, Link* link, int32_t slot, int32_t frame, float along, float across, float halfW,
                  float halfH, int32_t depth);  // logs "adding sprite error: link not found!" for a foreign link
void SetSpriteDepth(Body& body, Link* link, int32_t depth);  // re-sorts; logs on a foreign link
bool BodyHasLink(const Body& body, const Link* link);
BodyPoint* FindPointById(Body& body, int32_t id);            // first point with the id; null for none or id < 0
const BodyPoint* FindPointById(const Body& body, int32_t id);
BodyPoint* FindNearestPoint(Body& body, float x, float y, float tolerance);  // nearest with d < radius + tolerance
Link* FindNearestLink(Body& body, float x, float y, float tolerance);  // smallest perpendicular distance < tolerance,
                                                                      // projection within -tolerance..length + tolerance
void TakeSnapshot(const Body& body, BodySnapshot& snapshot);   // snapshot = body, ids kept
void CopyBody(const Body& from, Body& to);        // to = from: records, ids, counters, sprite order; to's handles die
void RebuildFromSnapshot(Body& body, const BodySnapshot& snapshot);  // body = snapshot, handles die; see
                                                                     // body.cpp for ids

// ---- snapshot operations ----
void ClearSnapshot(BodySnapshot& snapshot);
BodyPoint* AddSnapshotPoint(BodySnapshot& snapshot, const BodyPoint& point);  // a copy, id kept
// Copies every field of `fields` but the ends, which are the snapshot points with ids idA, idB.
// Null (with a log line) when either id is not in the snapshot: the link is dropped.
Link* AddSnapshotLink(BodySnapshot& snapshot, int32_t idA, int32_t idB, const Link& fields);
AngleJoint* AddSnapshotJoint(BodySnapshot& snapshot, int32_t id0, int32_t id1, int32_t id2, float limitRadians,
                             float stiffness);  // null (with a log line) when an id is absent
BodyPoint* FindSnapshotPoint(BodySnapshot& snapshot, int32_t id);  // null for none or id < 0
const BodyPoint* FindSnapshotPoint(const BodySnapshot& snapshot, int32_t id);
void CopySnapshot(const BodySnapshot& from, BodySnapshot& to);
// The memory the records take, their list nodes included, roughly: for bounding what is kept.
size_t RecordBytes(const BodySnapshot& snapshot);
size_t RecordBytes(const Body& body);
