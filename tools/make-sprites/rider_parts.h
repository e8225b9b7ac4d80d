// The cells of the default rider sheet (to.png, 4 x 4); see sprites/README.
#pragma once

enum RiderCell {
    kRiderHead = 0,        // a = crown, b = neck; face towards the front
    kRiderTorso = 1,       // a = neck, b = hips; chest towards the front
    kRiderUpperArm = 2,    // a = shoulder, b = elbow
    kRiderForearm = 3,     // a = elbow, b = hand (mitten at b, thumb to the front)
    kRiderThigh = 4,       // a = hip, b = knee
    kRiderShin = 5,        // a = knee, b = ankle (boot at b, toe to the front)
    kRiderSled = 6,        // a = front, b = back; runners below
    kRiderWheel = 7,       // centred on the link's middle
    kRiderHelmetHead = 8,  // as the head, with a crash helmet
    kRiderScarf = 9,       // a = knot, b = loose end
    kRiderMitten = 10,     // centred
    kRiderBoot = 11,       // centred, toe to the front
    kRiderSkateboard = 12, // a = nose, b = tail; trucks below, the wheels are separate parts
    kRiderCoil = 13,       // a spring to b, starting short of a (on a board's top face)
    kRiderCrate = 14,      // a = front, b = back of the floor; crate on a beam with axle brackets
    kRiderRope = 15,       // a rope between a and b
};
