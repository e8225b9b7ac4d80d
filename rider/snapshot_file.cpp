#include "rider/snapshot_file.h"

#include <algorithm>
#include <cmath>

#include "rider/rider_size.h"

// ---- internal ----

static bool Finite(float value) { return std::isfinite(value); }

// A count as stored: read signed, 0 or less means no records; more records than the bytes left
// can hold (at recordBytes each, at least) means the file is damaged.
static bool ReadCount(ByteReader& in, uint32_t recordBytes, uint32_t* count) {
  int32_t stored;
  if (!in.readI32(&stored)) return false;
  *count = stored > 0 ? uint32_t(stored) : 0;
  return *count <= in.left() / recordBytes;
}

static bool ReadPoint(ByteReader& in, StagedPoint* p) {
  if (!in.readF32(&p->x) || !in.readF32(&p->y) || !in.readF32(&p->prevX) || !in.readF32(&p->prevY) ||
      !in.readF32(&p->radius) || !in.readF32(&p->mass) || !in.readF32(&p->friction) || !in.readI32(&p->id) ||
      !in.readI32(&p->group) || !in.readU8(&p->collides))
    return false;
  if (!Finite(p->x) || !Finite(p->y) || !Finite(p->prevX) || !Finite(p->prevY) || !Finite(p->radius) ||
      !Finite(p->mass) || !Finite(p->friction))
    return false;
  if (p->radius < 0.0f || p->radius > kMaxStoredRadius || p->mass < 0.0f) return false;
  return p->id >= 0 && p->id <= kMaxStoredPointId;
}

static bool ReadLink(ByteReader& in, StagedLink* l) {
  if (!in.readI32(&l->idA) || !in.readI32(&l->idB) || !in.readI32(&l->kind) || !in.readI32(&l->breakGroup) ||
      !in.readF32(&l->stiffness) || !in.readF32(&l->breakLimit) || !in.readF32(&l->restLength) ||
      !in.readU8(&l->hasSprite))
    return false;
  l->spriteSlot = -1;
  l->spriteFrame = 0;
  l->spriteDepth = 0;
  l->spriteAlong = l->spriteAcross = l->spriteHalfW = l->spriteHalfH = 0.0f;
  if (l->hasSprite &&
      (!in.readI32(&l->spriteSlot) || !in.readI32(&l->spriteFrame) || !in.readI32(&l->spriteDepth) ||
       !in.readF32(&l->spriteAlong) || !in.readF32(&l->spriteAcross) || !in.readF32(&l->spriteHalfW) ||
       !in.readF32(&l->spriteHalfH)))
    return false;
  return Finite(l->stiffness) && Finite(l->breakLimit) && Finite(l->restLength) && Finite(l->spriteAlong) &&
         Finite(l->spriteAcross) && Finite(l->spriteHalfW) && Finite(l->spriteHalfH);
}

static bool ReadJoint(ByteReader& in, StagedJoint* j) {
  if (!in.readI32(&j->id0) || !in.readI32(&j->id1) || !in.readI32(&j->id2) || !in.readF32(&j->stiffness) ||
      !in.readF32(&j->limitAngle))
    return false;
  return Finite(j->stiffness) && Finite(j->limitAngle);
}

static bool HasId(const std::vector<int32_t>& sortedIds, int32_t id) {
  return std::binary_search(sortedIds.begin(), sortedIds.end(), id);
}

// ---- public ----

bool ParseSnapshot(ByteReader& in, StagedSnapshot* out) {
  out->points.clear();
  out->links.clear();
  out->joints.clear();

  uint32_t count;
  if (!ReadCount(in, kSnapshotPointBytes, &count) || !RiderSizeAllowed(count)) return false;
  out->points.resize(count);
  for (StagedPoint& point : out->points)
    if (!ReadPoint(in, &point)) return false;
  std::vector<int32_t> ids(count);
  for (uint32_t i = 0; i < count; ++i) ids[i] = out->points[i].id;
  std::sort(ids.begin(), ids.end());
  if (std::adjacent_find(ids.begin(), ids.end()) != ids.end()) return false;

  if (!ReadCount(in, kSnapshotLinkBytes, &count)) return false;
  out->links.resize(count);
  for (StagedLink& link : out->links)
    if (!ReadLink(in, &link) || !HasId(ids, link.idA) || !HasId(ids, link.idB)) return false;

  if (!ReadCount(in, kSnapshotJointBytes, &count)) return false;
  out->joints.resize(count);
  for (StagedJoint& joint : out->joints)
    if (!ReadJoint(in, &joint) || !HasId(ids, joint.id0) || !HasId(ids, joint.id1) || !HasId(ids, joint.id2))
      return false;
  return true;
}

void BuildSnapshot(const StagedSnapshot& staged, BodySnapshot& snapshot) {
  ClearSnapshot(snapshot);
  for (const StagedPoint& s : staged.points) {
    BodyPoint point = MakePoint(s.x, s.y, s.mass, s.radius, s.group);
    point.prevX = s.prevX;
    point.prevY = s.prevY;
    point.collides = s.collides;
    point.friction = s.friction;
    point.id = s.id;
    AddSnapshotPoint(snapshot, point);
  }
  for (const StagedLink& s : staged.links) {
    Link fields;
    fields.stiffness = s.stiffness;
    fields.breakGroup = s.breakGroup;
    fields.kind = LinkKind(s.kind);
    fields.breakLimit = s.breakLimit;
    fields.restLength = s.restLength;
    fields.hasSprite = s.hasSprite;
    fields.spriteSlot = s.spriteSlot;
    fields.spriteFrame = s.spriteFrame;
    fields.spriteDepth = s.spriteDepth;
    fields.spriteAlong = s.spriteAlong;
    fields.spriteAcross = s.spriteAcross;
    fields.spriteHalfW = s.spriteHalfW;
    fields.spriteHalfH = s.spriteHalfH;
    AddSnapshotLink(snapshot, s.idA, s.idB, fields);
  }
  for (const StagedJoint& s : staged.joints) AddSnapshotJoint(snapshot, s.id0, s.id1, s.id2, s.limitAngle, s.stiffness);
}

void WriteSnapshot(const BodySnapshot& snapshot, ByteWriter& out) {
  // The counts are the list sizes: the records that really follow, whatever a counter says.
  out.writeU32(uint32_t(snapshot.points.size()));
  for (const BodyPoint& p : snapshot.points) {
    out.writeF32(p.x);
    out.writeF32(p.y);
    out.writeF32(p.prevX);
    out.writeF32(p.prevY);
    out.writeF32(p.radius);
    out.writeF32(p.mass);
    out.writeF32(p.friction);
    out.writeI32(p.id);
    out.writeI32(p.group);
    out.writeU8(p.collides);
  }
  out.writeU32(uint32_t(snapshot.links.size()));
  for (const Link& l : snapshot.links) {
    out.writeI32(l.a->id);
    out.writeI32(l.b->id);
    out.writeI32(int32_t(l.kind));
    out.writeI32(l.breakGroup);
    out.writeF32(l.stiffness);
    out.writeF32(l.breakLimit);
    out.writeF32(l.restLength);
    out.writeU8(l.hasSprite);
    if (l.hasSprite) {
      out.writeI32(l.spriteSlot);
      out.writeI32(l.spriteFrame);
      out.writeI32(l.spriteDepth);
      out.writeF32(l.spriteAlong);
      out.writeF32(l.spriteAcross);
      out.writeF32(l.spriteHalfW);
      out.writeF32(l.spriteHalfH);
    }
  }
  out.writeU32(uint32_t(snapshot.joints.size()));
  for (const AngleJoint& j : snapshot.joints) {
    out.writeI32(j.p0->id);
    out.writeI32(j.p1->id);
    out.writeI32(j.p2->id);
    out.writeF32(j.stiffness);
    out.writeF32(j.limitAngle);
  }
}

std::vector<uint8_t> EncodeSnapshot(const BodySnapshot& snapshot) {
  std::vector<uint8_t> bytes;
  ByteWriter writer{&bytes};
  WriteSnapshot(snapshot, writer);
  return bytes;
}
