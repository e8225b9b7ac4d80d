// The riders that ship with the game, built in code against the rider sheet sprites\to.png
// (its cell map is in sprites/README). Every design faces +x, the way tracks run, with its
// lowest points just above y = 0 near x = 0.
//
// Break limits are given as the strain a link survives: a link of rest length r made with
// break factor f breaks when |L - r| / L > r * (r * f), so f = strain / r^2.
#pragma once
#include <cmath>
#include <cstdio>

#include "rider/body.h"
#include "rider/current_rider.h"

namespace designs {

constexpr const char* kSheet = "sprites\\to.png";
constexpr int kSheetSlot = 15;
constexpr float kNeverBreaks = 1000.0f;           // as a strain: no stretch or squeeze reaches it
// The neck of a rider: a landing on the sled carries the head gently, a landing on the head
// squeezes the neck by the speed of the fall in one step (3 units of 22 from a 150-unit drop).
constexpr float kNeckStrain = 0.12f;

// Cells of the rider sheet.
enum Cell { Head = 0, Torso = 1, UpperArm = 2, Forearm = 3, Thigh = 4, Shin = 5, Sled = 6, Wheel = 7, Helmet = 8,
            Scarf = 9, Skateboard = 12, CoilSpring = 13, Crate = 14 };

inline float Distance(const BodyPoint* a, const BodyPoint* b) { return std::hypot(b->x - a->x, b->y - a->y); }

// Point ids that say where a rider is and which way up: the vehicle runs from back to front,
// and an upright rider has its crown on the left of that direction (above the vehicle).
struct Landmarks {
  int32_t focus;                                  // the point the camera follows
  int32_t front, back;                            // the vehicle's front and back ends
  int32_t crown;                                  // the top of the rider
};

// Designs are laid out with their lowest point touching y = 0; they are placed 2 units higher,
// clear of a pencil line of thickness 1 drawn along y = 0.
constexpr float kLift = 2.0f;

inline BodyPoint* Point(Body& body, float x, float y, float mass, float radius, float friction, uint8_t collides = 1) {
  return AddPoint(body, x, y + kLift, mass, radius, 1, collides, friction);   // group 1: a rider never hits itself
}

// A link that breaks when stretched or squeezed by more than strain (a fraction of its length).
inline Link* Tie(Body& body, BodyPoint* a, BodyPoint* b, float stiffness, float strain, int32_t breakGroup = 0,
                 LinkKind kind = LinkKind::Spring) {
  const float rest = Distance(a, b);
  return AddLink(body, a, b, stiffness, breakGroup, strain / (rest * rest), kind);
}

// A part of the sheet whose joints sit on the link's ends (a at the cell's left joint).
inline void Dress(Body& body, Link* link, Cell cell, int32_t depth) {
  const float half = 0.8f * Distance(link->a, link->b);
  AttachSprite(body, link, kSheetSlot, cell, 0.0f, 0.0f, half, half, depth);
}

// A centred part (wheel, crate) of the given radius drawn around end a of the link, turning
// with it. The wheel's picture has a radius of 47 of the cell's 128 pixels.
inline void DressRound(Body& body, Link* link, Cell cell, float radius, int32_t depth) {
  const float half = radius * 64.0f / 47.0f;
  AttachSprite(body, link, kSheetSlot, cell, 0.5f, 0.0f, half, half, depth);
}

// ---- the sledder: the default rider ----
// A sled with a seated rider in a knit hat. The sled's heavy runners carry most of the mass, so
// the rider sits low and the sled lands flat instead of pitching onto its curl. Hips and neck
// are braced to both ends of the sled (break group 1), so the rider keeps its seat on a clean
// landing and the body rides as one; a hard hit throws the rider off. The neck is the weak
// joint: carried on a landing, it snaps when the rider comes down on its head.
inline Landmarks BuildSledder(Body& body) {
  ClearBody(body);
  BodyPoint* front = Point(body, 38, 7, 3.0f, 6, 0.0008f);
  BodyPoint* back = Point(body, -38, 7, 3.0f, 6, 0.0008f);
  BodyPoint* hip = Point(body, -17, 21, 1.0f, 8, 0.05f);
  BodyPoint* knee = Point(body, 9, 31, 0.5f, 6, 0.05f);
  BodyPoint* ankle = Point(body, 25, 15, 0.4f, 5, 0.05f);
  BodyPoint* neck = Point(body, -11, 52, 0.7f, 7, 0.05f);
  BodyPoint* crown = Point(body, -7, 74, 0.5f, 9, 0.05f);
  BodyPoint* elbow = Point(body, 4, 41, 0.3f, 5, 0.05f);
  BodyPoint* hand = Point(body, 24, 26, 0.3f, 5, 0.05f);
  BodyPoint* scarf = Point(body, -33, 50, 0.15f, 3, 0.0001f, 0);

  // The sled: rigid, never breaks.
  Link* sled = Tie(body, front, back, 1.0f, kNeverBreaks);
  // The rider's parts.
  Link* thigh = Tie(body, hip, knee, 0.9f, 0.55f);
  Link* shin = Tie(body, knee, ankle, 0.9f, 0.55f);
  Link* torso = Tie(body, neck, hip, 0.9f, 0.6f);
  Link* head = Tie(body, crown, neck, 0.9f, kNeckStrain);
  Link* upperArm = Tie(body, neck, elbow, 0.8f, 0.6f);
  Link* forearm = Tie(body, elbow, hand, 0.8f, 0.6f);
  Link* scarfTail = Tie(body, neck, scarf, 0.5f, kNeverBreaks, 0, LinkKind::Rope);
  // What keeps the seated shape: soft braces that go with the limb they hold.
  Tie(body, hip, ankle, 0.5f, 0.55f);
  Tie(body, neck, knee, 0.3f, 0.6f);
  Tie(body, crown, hip, 0.4f, 0.45f);
  Tie(body, elbow, hip, 0.3f, 0.6f);
  // Seat and grip: the rider on the sled, all in break group 1.
  Tie(body, hip, back, 0.8f, 0.18f, 1);
  Tie(body, hip, front, 0.6f, 0.18f, 1);
  Tie(body, ankle, front, 0.8f, 0.18f, 1);
  Tie(body, ankle, back, 0.5f, 0.18f, 1);
  Tie(body, hand, front, 0.5f, 0.18f, 1);
  Tie(body, knee, back, 0.3f, 0.18f, 1);
  Tie(body, neck, back, 0.8f, 0.18f, 1);
  Tie(body, neck, front, 0.5f, 0.18f, 1);

  Dress(body, scarfTail, Scarf, 0);
  Dress(body, sled, Sled, 1);
  Dress(body, thigh, Thigh, 2);
  Dress(body, shin, Shin, 2);
  Dress(body, torso, Torso, 3);
  Dress(body, head, Head, 4);
  Dress(body, upperArm, UpperArm, 5);
  Dress(body, forearm, Forearm, 5);
  return {hip->id, front->id, back->id, crown->id};
}

// ---- the pogo: the bouncy one ----
// A coil spring on a skateboard with a heavy helmeted head on top. The light board stops when it
// lands while the head's fall goes into the soft spring, which throws it back up and lifts the
// board off the ground with it. Ropes from nose and tail to the top of the spring keep the head
// from toppling over the board without stiffening the spring: they go slack as it squeezes.
// The wheels sit under the board sprite's trucks, and the board is drawn without wheels of its
// own.
inline Landmarks BuildPogo(Body& body) {
  ClearBody(body);
  BodyPoint* frontWheel = Point(body, 26, 7, 0.5f, 7, 0.0005f);
  BodyPoint* backWheel = Point(body, -26, 7, 0.5f, 7, 0.0005f);
  BodyPoint* nose = Point(body, 36, 17, 0.3f, 3, 0.01f);
  BodyPoint* tail = Point(body, -36, 17, 0.3f, 3, 0.01f);
  BodyPoint* deck = Point(body, 0, 17, 0.3f, 4, 0.01f);
  BodyPoint* top = Point(body, 0, 52, 1.6f, 6, 0.02f);
  BodyPoint* crown = Point(body, 2, 74, 0.4f, 9, 0.02f);

  // The board: rigid, never breaks.
  Link* board = Tie(body, nose, tail, 1.0f, kNeverBreaks);
  Link* frontAxle = Tie(body, frontWheel, nose, 1.0f, kNeverBreaks);
  Link* backAxle = Tie(body, backWheel, tail, 1.0f, kNeverBreaks);
  Tie(body, nose, backWheel, 1.0f, kNeverBreaks);
  Tie(body, tail, frontWheel, 1.0f, kNeverBreaks);
  Tie(body, frontWheel, backWheel, 1.0f, kNeverBreaks);
  Tie(body, deck, nose, 1.0f, kNeverBreaks);
  Tie(body, deck, tail, 1.0f, kNeverBreaks);
  // The spring stores a landing and gives it back; the side ropes keep the head over the board.
  Link* spring = Tie(body, deck, top, 0.2f, 0.7f, 1);
  Tie(body, nose, top, 1.0f, 0.7f, 1, LinkKind::Rope);
  Tie(body, tail, top, 1.0f, 0.7f, 1, LinkKind::Rope);
  Link* head = Tie(body, crown, top, 0.9f, kNeckStrain);
  Tie(body, crown, nose, 0.05f, 0.8f, 1);
  Tie(body, crown, tail, 0.05f, 0.8f, 1);

  Dress(body, board, Skateboard, 1);
  DressRound(body, frontAxle, Wheel, 7, 2);
  DressRound(body, backAxle, Wheel, 7, 2);
  Dress(body, spring, CoilSpring, 0);
  Dress(body, head, Helmet, 3);
  return {deck->id, frontWheel->id, backWheel->id, crown->id};
}

// ---- the crate cart: heavy and stiff ----
// A light wooden crate braced onto two heavy wheels: rigid links and most of the mass low, so
// it lands flat and hardly bounces. The wheels carry a landing gently into the crate; a crate that lands on its lid
// takes the wheels' whole weight in its sides, which burst (break group 2). The axles tear out
// together (group 1) on a hard hit. The crate's sprite includes the frame and axle brackets
// that reach down to the wheel hubs.
inline Landmarks BuildCrateCart(Body& body) {
  ClearBody(body);
  BodyPoint* backWheel = Point(body, -30, 12, 4.0f, 12, 0.002f);
  BodyPoint* frontWheel = Point(body, 30, 12, 4.0f, 12, 0.002f);
  BodyPoint* lowBack = Point(body, -22, 30, 2.0f, 4, 0.05f);
  BodyPoint* lowFront = Point(body, 22, 30, 2.0f, 4, 0.05f);
  BodyPoint* highFront = Point(body, 22, 74, 2.0f, 4, 0.05f);
  BodyPoint* highBack = Point(body, -22, 74, 2.0f, 4, 0.05f);

  // The crate: its floor and lid never break, its sides burst together.
  Link* bottom = Tie(body, lowFront, lowBack, 1.0f, kNeverBreaks);
  Tie(body, highFront, highBack, 1.0f, kNeverBreaks);
  Tie(body, lowFront, highFront, 1.0f, 0.05f, 2);
  Tie(body, highBack, lowBack, 1.0f, 0.05f, 2);
  Tie(body, lowBack, highFront, 1.0f, 0.05f, 2);
  Tie(body, lowFront, highBack, 1.0f, 0.05f, 2);
  // The axles: in one break group, so a wheel never tears out alone.
  Link* backAxle = Tie(body, backWheel, lowBack, 1.0f, 0.5f, 1);
  Link* frontAxle = Tie(body, frontWheel, lowFront, 1.0f, 0.5f, 1);
  Tie(body, backWheel, lowFront, 1.0f, 0.5f, 1);
  Tie(body, frontWheel, lowBack, 1.0f, 0.5f, 1);
  Tie(body, backWheel, highBack, 1.0f, 0.5f, 1);
  Tie(body, frontWheel, highFront, 1.0f, 0.5f, 1);
  Tie(body, backWheel, frontWheel, 1.0f, 0.5f, 1);

  // The crate and its frame drawn upright around the box's centre: the bottom edge carries it,
  // shifted up. The cell is 88 units wide: the crate fills its middle half.
  AttachSprite(body, bottom, kSheetSlot, Crate, 0.0f, 22.0f, 44.0f, 44.0f, 1);
  DressRound(body, backAxle, Wheel, 12, 2);
  DressRound(body, frontAxle, Wheel, 12, 2);
  return {lowBack->id, frontWheel->id, backWheel->id, highFront->id};
}

struct Design {
  const char* file;                               // under riders\, relative to the exec folder
  Landmarks (*build)(Body& body);
};

// The default rider comes first.
constexpr Design kDesigns[] = {
    {"sledder.rider", BuildSledder},
    {"pogo.rider", BuildPogo},
    {"crate_cart.rider", BuildCrateCart},
};

// The rider of a design, as a rider file holds it.
inline void MakeRider(const Design& design, CurrentRider& rider) {
  Body body;
  rider.focusPointId = design.build(body).focus;
  TakeSnapshot(body, rider.snapshot);
  snprintf(rider.spriteSheet, sizeof rider.spriteSheet, "%s", kSheet);
  rider.loaded = 1;
}

}  // namespace designs
