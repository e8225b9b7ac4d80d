// The largest body the game will ride. Point contacts test every pair of points that share a
// neighbourhood of the point grid, so a step's cost grows with the square of the points: a body
// of 5,000 points takes some 43 ms a step, and with up to 10 steps a frame it would freeze the
// game. The worst body of kMaxRiderPoints, every point within reach of every other, takes
// 0.29 ms a step in a Release build (bench/physics.cpp, BM_StepRiderAtLimit; 512 points took
// 1.07 ms), so 10 steps cost 2.9 ms and leave more than 13 ms of a 60 fps frame (16.7 ms) for
// drawing and the rest of the game. The shipped riders have 6 to 10 points.
#pragma once
#include <cstdint>

constexpr uint32_t kMaxRiderPoints = 256;         // points a rider or start state may have

// True when a body of pointCount points may be ridden; otherwise logs "Rider too big: N points,
// the limit is 256" and returns false. Rider files, start states and the rider editor ask first.
bool RiderSizeAllowed(uint64_t pointCount);
