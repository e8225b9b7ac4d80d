// How a rider crashes: a link strained beyond its limit breaks and is removed with its sprite,
// links of the same break group go with it, and each removal leaves "link crashed. k = ..." in
// the log.
#pragma once
#include "rider/body.h"

// Strain s = (L - rest) / L with L floored at 0.01; breaks when |s| > rest * breakLimit.
bool LinkStrainBreaks(float length, float restLength, float breakLimit);
// Removes broken links (and, with propagateGroups, every link of their break group), then joints
// that lost a point, then dead points. The step passes true, the rider editor false.
void CleanUpBody(Body& body, bool propagateGroups);
