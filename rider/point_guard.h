// Keeps non-finite numbers out of point positions: a constraint or contact that would move a
// point to NaN or infinity (overflowing masses, huge coordinates) is undone as a whole.
#pragma once
#include <cmath>

#include "rider/body.h"

// Saves up to three points' positions; Commit() keeps the moves if every position is finite and
// restores all of them otherwise. Points may repeat (a joint on one point twice).
class PointMoveGuard {
 public:
  explicit PointMoveGuard(BodyPoint* p0, BodyPoint* p1 = nullptr, BodyPoint* p2 = nullptr)
      : points_{p0, p1, p2} {
    for (int i = 0; i < 3; ++i)
      if (points_[i]) saved_[i] = {points_[i]->x, points_[i]->y};
  }
  bool Commit() {
    bool finite = true;
    for (BodyPoint* point : points_)
      if (point && !(std::isfinite(point->x) && std::isfinite(point->y))) finite = false;
    if (finite) return true;
    for (int i = 2; i >= 0; --i)
      if (points_[i]) {
        points_[i]->x = saved_[i].x;
        points_[i]->y = saved_[i].y;
      }
    return false;
  }

 private:
  struct Saved {
    float x = 0, y = 0;
  };
  BodyPoint* points_[3];
  Saved saved_[3];
};
