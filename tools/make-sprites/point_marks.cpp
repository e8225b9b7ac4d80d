// dots.png: the rider editor's and the skeleton view's point marks, 4 x 4 cells
// of 64 x 64 pixels, each drawn as a square of the point's diameter:
// 0-7 colliding points of groups 0-7, 9 angle joint mark (white, tinted by the
// game), 10 focus point, 11 grip overlay (white, faded in by friction),
// 13 non-colliding point, 14 hovered, 15 selected; 8 and 12 stay empty.
// nachalo_koord.png: the rider editor's origin mark, 128 x 128, symmetric.
#include "canvas.h"
#include "sprites.h"
#include "style.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int kCell = 64;
constexpr double kPi = 3.14159265358979323846;

// One colour per point group; group 0 (no group) wears the game's orange.
const uint32_t kGroupColours[8] = {kAccent, kBlue, kGreen, 0x8e44c8, kRed, 0x17a2a8, kYellow, 0xe85aa5};

void Ring(cairo_t* cr, double r, double width, uint32_t colour, double alpha = 1.0) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, 32, 32, r, 0, 2 * kPi);
    SetColour(cr, colour, alpha);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void GroupPoint(cairo_t* cr, int group) {
    cairo_arc(cr, 32, 32, 27, 0, 2 * kPi);
    cairo_pattern_t* shade = cairo_pattern_create_radial(24, 22, 3, 32, 32, 28);
    const uint32_t c = kGroupColours[group];
    const double r = ((c >> 16) & 255) / 255.0, g = ((c >> 8) & 255) / 255.0, b = (c & 255) / 255.0;
    cairo_pattern_add_color_stop_rgb(shade, 0, 0.55 + 0.45 * r, 0.55 + 0.45 * g, 0.55 + 0.45 * b);
    cairo_pattern_add_color_stop_rgb(shade, 1, r, g, b);
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    Ring(cr, 27, 5, kInk);
    if (group > 0) {
        char digit[2] = {char('0' + group), 0};
        UseFace(cr, Face::SansBold, 30);
        SetColour(cr, kWhite);
        DrawTextCentred(cr, 32, 43, digit);
    }
}

// The angle joint: an arc around the middle point with an arrow showing the side
// to which the joint lets the limb bend; white so that the game's tint shows.
void JointMark(cairo_t* cr) {
    for (int pass = 0; pass < 2; ++pass) {
        SetColour(cr, pass == 0 ? kInk : kWhite);
        cairo_set_line_width(cr, pass == 0 ? 10 : 5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        const double r = 21, start = kPi * 0.1, end = kPi * 0.85;
        cairo_arc(cr, 32, 32, r, start, end);
        cairo_stroke(cr);
        // Arrow head at the end of the arc, along its tangent (-sin, cos).
        const double tx = -std::sin(end), ty = std::cos(end);
        const double px = 32 + r * std::cos(end) + 3 * tx, py = 32 + r * std::sin(end) + 3 * ty;
        cairo_move_to(cr, px - 10 * tx - 8 * ty, py - 10 * ty + 8 * tx);
        cairo_line_to(cr, px, py);
        cairo_line_to(cr, px - 10 * tx + 8 * ty, py - 10 * ty - 8 * tx);
        cairo_stroke(cr);
    }
    cairo_arc(cr, 32, 32, 5, 0, 2 * kPi);
    SetColour(cr, kWhite);
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

void FocusMark(cairo_t* cr) {
    Ring(cr, 26, 6, kInk);
    Ring(cr, 26, 3, kYellow);
    for (int i = 0; i < 4; ++i) {
        const double a = i * kPi / 2;
        cairo_move_to(cr, 32 + 18 * std::cos(a), 32 + 18 * std::sin(a));
        cairo_line_to(cr, 32 + 28 * std::cos(a), 32 + 28 * std::sin(a));
    }
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    cairo_arc(cr, 32, 32, 6, 0, 2 * kPi);
    SetColour(cr, kYellow);
    cairo_fill(cr);
}

// Grip: a white grain of fixed pseudo-random dots over the point.
void GripOverlay(cairo_t* cr) {
    uint32_t seed = 12345;
    auto next = [&]() {
        seed = seed * 1103515245u + 12345u;
        return double((seed >> 8) & 0xffff) / 65536.0;
    };
    SetColour(cr, kWhite);
    for (int i = 0; i < 70; ++i) {
        const double a = next() * 2 * kPi, d = 24 * std::sqrt(next());
        cairo_new_sub_path(cr);
        cairo_arc(cr, 32 + d * std::cos(a), 32 + d * std::sin(a), 1.6 + next() * 1.2, 0, 2 * kPi);
    }
    cairo_fill(cr);
    Ring(cr, 25, 4, kWhite);
}

void DrawMark(cairo_t* cr, int frame) {
    if (frame < 8) {
        GroupPoint(cr, frame);
        return;
    }
    switch (frame) {
    case 9: JointMark(cr); break;
    case 10: FocusMark(cr); break;
    case 11: GripOverlay(cr); break;
    case 13: {
        const double dash[] = {7, 5};
        cairo_set_dash(cr, dash, 2, 0);
        Ring(cr, 26, 5, kInkSoft);
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_arc(cr, 32, 32, 5, 0, 2 * kPi);
        SetColour(cr, kInkSoft);
        cairo_fill(cr);
        break;
    }
    case 14:
        Ring(cr, 26, 9, kYellow, 0.55);
        Ring(cr, 28, 3, 0xe0a000);
        break;
    case 15:
        Ring(cr, 26, 9, kRed, 0.35);
        Ring(cr, 28, 4, kRed);
        break;
    default: break;
    }
}

void OriginMark(cairo_t* cr) {
    for (int pass = 0; pass < 2; ++pass) {
        SetColour(cr, pass == 0 ? kWhite : kInkSoft);
        cairo_set_line_width(cr, pass == 0 ? 8 : 3);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, 64, 8);
        cairo_line_to(cr, 64, 120);
        cairo_move_to(cr, 8, 64);
        cairo_line_to(cr, 120, 64);
        cairo_stroke(cr);
        cairo_arc(cr, 64, 64, 24, 0, 2 * kPi);
        cairo_stroke(cr);
    }
    for (int i = 0; i < 4; ++i) { // arrow heads on all four arms keep the mark symmetric
        cairo_save(cr);
        cairo_translate(cr, 64, 64);
        cairo_rotate(cr, i * kPi / 2);
        cairo_move_to(cr, 56, -7);
        cairo_line_to(cr, 62, 0);
        cairo_line_to(cr, 56, 7);
        cairo_restore(cr);
    }
    SetColour(cr, kInkSoft);
    cairo_set_line_width(cr, 3);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_arc(cr, 64, 64, 6, 0, 2 * kPi);
    SetColour(cr, kAccent);
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

} // namespace

bool MakePointMarks(const char* folder) {
    Canvas dots = MakeCanvas(4 * kCell, 4 * kCell);
    for (int frame = 0; frame < 16; ++frame) {
        cairo_save(dots.cr);
        cairo_rectangle(dots.cr, (frame % 4) * kCell, (frame / 4) * kCell, kCell, kCell);
        cairo_clip(dots.cr);
        cairo_translate(dots.cr, (frame % 4) * kCell, (frame / 4) * kCell);
        DrawMark(dots.cr, frame);
        cairo_restore(dots.cr);
    }
    bool ok = SaveCanvas(dots, folder, "dots.png");
    Canvas origin = MakeCanvas(128, 128);
    OriginMark(origin.cr);
    ok = SaveCanvas(origin, folder, "nachalo_koord.png") && ok;
    return ok;
}
