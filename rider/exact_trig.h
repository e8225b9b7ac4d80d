// Float arcsine and arccosine that give, for every float x in [-1, 1], the float nearest to the
// exact value (ties to even), computed with plain IEEE double operations only: no C library
// math function, no fused multiply-add (the project builds with -ffp-contract=off). An angle joint
// therefore measures the same angle on every C library and every x86_64 or arm64 build.
#pragma once

float ExactAsin(float x);                         // radians in [-pi/2, pi/2]; NaN outside [-1, 1]
float ExactAcos(float x);                         // radians in [0, pi]; NaN outside [-1, 1]
