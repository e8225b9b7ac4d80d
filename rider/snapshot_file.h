// The stored form of a body snapshot, shared by rider files and the start state inside track
// files. Reading goes through a staging record that is checked whole before anything of the
// game is touched, so a damaged file can never leave half a rider behind.
#pragma once
#include <cstdint>
#include <vector>

#include "rider/body.h"
#include "shell/byte_stream.h"

constexpr uint32_t kSnapshotPointBytes = 37;
constexpr uint32_t kSnapshotLinkBytes = 29;       // without a sprite
constexpr uint32_t kSnapshotSpriteBytes = 28;     // after a link with hasSprite set
constexpr uint32_t kSnapshotJointBytes = 20;
constexpr int32_t kMaxStoredPointId = 1 << 30;    // larger ids mark a damaged file
constexpr float kMaxStoredRadius = 65536.0f;      // 2^16 world units

struct StagedPoint {
  float x, y, prevX, prevY, radius, mass, friction;
  int32_t id, group;
  uint8_t collides;
};

struct StagedLink {
  int32_t idA, idB, kind, breakGroup;
  float stiffness, breakLimit, restLength;
  uint8_t hasSprite;                              // as stored; non-zero: the sprite fields follow
  int32_t spriteSlot, spriteFrame, spriteDepth;   // the slot is kept as stored, even outside 0..19
  float spriteAlong, spriteAcross, spriteHalfW, spriteHalfH;
};

struct StagedJoint {
  int32_t id0, id1, id2;
  float stiffness, limitAngle;                    // radians
};

struct StagedSnapshot {
  std::vector<StagedPoint> points;                // file order
  std::vector<StagedLink> links;
  std::vector<StagedJoint> joints;
};

// Reads one snapshot; false when it is damaged (cut short, a non-finite value, a negative or
// huge radius, a negative mass, a point id negative, above 2^30 or repeated, a link or joint
// naming a missing point) or has more points than a rider may (logged, rider/rider_size.h).
// Allocates only for counts the bytes left can hold.
bool ParseSnapshot(ByteReader& in, StagedSnapshot* out);
// Fills snapshot (cleared first) from a staging record that ParseSnapshot accepted.
void BuildSnapshot(const StagedSnapshot& staged, BodySnapshot& snapshot);
// Appends the stored form of snapshot: three counts and their records in list order.
void WriteSnapshot(const BodySnapshot& snapshot, ByteWriter& out);
std::vector<uint8_t> EncodeSnapshot(const BodySnapshot& snapshot);  // the stored form alone
