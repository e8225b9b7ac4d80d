// The pictograms of the game's buttons and cursors, and the button sheet's frames.
// One visual language: a light raised tile with a 2-pixel slate border and an
// 11-pixel corner radius, slate strokes kPen wide with round ends, and colour only
// where it carries meaning (orange accent, the four link-kind colours, green for
// "go" and "on", red for "stop" and "clear").
#include "icons.h"

#include "canvas.h"
#include "style.h"

#include <cmath>
#include <initializer_list>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kOutline = 3.5; // outline of filled pictograms

void Pen(cairo_t* cr, uint32_t colour, double width) {
    SetColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
}

void Line(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
}

// Fills the current path and outlines it in ink.
void FillOutline(cairo_t* cr, uint32_t fill, double outline = kOutline) {
    SetColour(cr, fill);
    cairo_fill_preserve(cr);
    Pen(cr, kInk, outline);
    cairo_stroke(cr);
}

void Disc(cairo_t* cr, double x, double y, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
}

void ArrowHead(cairo_t* cr, double x, double y, double dx, double dy, double size) {
    const double len = std::sqrt(dx * dx + dy * dy);
    const double ux = dx / len, uy = dy / len;
    cairo_move_to(cr, x - ux * size - uy * size * 0.7, y - uy * size + ux * size * 0.7);
    cairo_line_to(cr, x, y);
    cairo_line_to(cr, x - ux * size + uy * size * 0.7, y - uy * size - ux * size * 0.7);
    cairo_stroke(cr);
}

// Light version of a colour, for the tinted face of a chosen button.
uint32_t Tint(uint32_t rgb, double t) {
    auto mix = [&](int shift) { return uint32_t(((rgb >> shift) & 255) * t + 255 * (1 - t)) << shift; };
    return mix(16) | mix(8) | mix(0);
}

void TintedTile(cairo_t* cr, uint32_t colour) {
    RoundedRect(cr, 3, 3, 58, 58, 11);
    SetColour(cr, Tint(colour, 0.28));
    cairo_fill_preserve(cr);
    Pen(cr, colour, 4);
    cairo_stroke(cr);
}

void Backdrop(cairo_t* cr) {
    RoundedRect(cr, 2, 2, 60, 60, 12);
    cairo_pattern_t* glow = cairo_pattern_create_linear(0, 0, 0, 64);
    cairo_pattern_add_color_stop_rgb(glow, 0, 1.0, 0.62, 0.25);
    cairo_pattern_add_color_stop_rgb(glow, 1, 0.95, 0.36, 0.0);
    cairo_set_source(cr, glow);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(glow);
    Pen(cr, kAccentDark, 2);
    cairo_stroke(cr);
}

void Play(cairo_t* cr, double x, double y, double h) {
    cairo_move_to(cr, x, y - h / 2);
    cairo_line_to(cr, x + h * 0.9, y);
    cairo_line_to(cr, x, y + h / 2);
    cairo_close_path(cr);
    FillOutline(cr, kGreen);
}

void Magnet(cairo_t* cr, uint32_t body) {
    // A horseshoe opening downwards: outer arc radius 18, inner 8, legs down to y 50.
    cairo_new_path(cr);
    cairo_arc(cr, 32, 28, 18, kPi, 2 * kPi);
    cairo_line_to(cr, 50, 50);
    cairo_line_to(cr, 40, 50);
    cairo_line_to(cr, 40, 28);
    cairo_arc_negative(cr, 32, 28, 8, 0, kPi);
    cairo_line_to(cr, 24, 50);
    cairo_line_to(cr, 14, 50);
    cairo_close_path(cr);
    FillOutline(cr, body);
    cairo_rectangle(cr, 14, 41, 10, 9);
    cairo_rectangle(cr, 40, 41, 10, 9);
    FillOutline(cr, 0xe6eaef);
}

void Trash(cairo_t* cr, int clicks) {
    // Clicks fill the can with red from the bottom: four clicks clear the track.
    auto can = [&]() {
        cairo_move_to(cr, 18, 22);
        cairo_line_to(cr, 46, 22);
        cairo_line_to(cr, 43, 54);
        cairo_line_to(cr, 21, 54);
        cairo_close_path(cr);
    };
    can();
    SetColour(cr, kWhite);
    cairo_fill(cr);
    if (clicks > 0) {
        cairo_save(cr);
        can();
        cairo_clip(cr);
        const double top = 54 - 32.0 * clicks / 4;
        cairo_rectangle(cr, 10, top, 44, 54 - top);
        SetColour(cr, kRed);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    can();
    Pen(cr, kInk, kOutline);
    cairo_stroke(cr);
    Pen(cr, kInk, 3);
    Line(cr, 27, 29, 28, 48);
    Line(cr, 37, 29, 36, 48);
    Pen(cr, kInk, kPen);
    Line(cr, 13, 16, 51, 16);
    RoundedRect(cr, 26, 9, 12, 7, 2);
    Pen(cr, kInk, 3);
    cairo_stroke(cr);
}

void Floppy(cairo_t* cr) {
    RoundedRect(cr, 12, 12, 40, 40, 4);
    FillOutline(cr, kBlue);
    cairo_rectangle(cr, 22, 12, 20, 13);
    FillOutline(cr, 0xdfe4ea, 3);
    cairo_rectangle(cr, 34, 15, 5, 7);
    SetColour(cr, kInk);
    cairo_fill(cr);
    cairo_rectangle(cr, 18, 33, 28, 19);
    FillOutline(cr, kWhite, 3);
    Pen(cr, kInkSoft, 2.5);
    Line(cr, 23, 40, 41, 40);
    Line(cr, 23, 46, 41, 46);
}

void Folder(cairo_t* cr) {
    cairo_move_to(cr, 10, 17);
    cairo_line_to(cr, 25, 17);
    cairo_line_to(cr, 30, 22);
    cairo_line_to(cr, 52, 22);
    cairo_line_to(cr, 52, 50);
    cairo_line_to(cr, 10, 50);
    cairo_close_path(cr);
    FillOutline(cr, 0xd9a21b);
    cairo_move_to(cr, 16, 29);
    cairo_line_to(cr, 57, 29);
    cairo_line_to(cr, 51, 50);
    cairo_line_to(cr, 10, 50);
    cairo_close_path(cr);
    FillOutline(cr, kYellow);
}

void Menu(cairo_t* cr) {
    Pen(cr, kInk, 6);
    for (double y : {20.0, 32.0, 44.0}) Line(cr, 17, y, 47, y);
}

void BoostLine(cairo_t* cr, bool forward) {
    Pen(cr, kInk, kPen);
    Line(cr, 10, 46, 54, 46);
    Pen(cr, kRed, 5);
    const double dir = forward ? 1 : -1;
    for (double cx : {24.0, 38.0}) {
        const double x = 32 + (cx - 32) * dir;
        cairo_move_to(cr, x - 6 * dir, 20);
        cairo_line_to(cr, x + 4 * dir, 29);
        cairo_line_to(cr, x - 6 * dir, 38);
        cairo_stroke(cr);
    }
}

void Chain(cairo_t* cr, bool joined) {
    const uint32_t colour = joined ? kGreen : kInkSoft;
    Pen(cr, colour, 7);
    auto loop = [&](double cx, double cy) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, -kPi / 4);
        RoundedRect(cr, -14, -7.5, 28, 15, 7.5);
        cairo_restore(cr);
        cairo_stroke(cr);
    };
    if (joined) {
        loop(24, 40);
        loop(40, 24);
    } else {
        loop(20, 44);
        loop(44, 20);
        Pen(cr, kRed, 5);
        Line(cr, 26, 26, 38, 38);
    }
}

void Checkbox(cairo_t* cr, bool on) {
    RoundedRect(cr, 6, 6, 52, 52, 10);
    SetColour(cr, on ? kGreen : kWhite);
    cairo_fill_preserve(cr);
    Pen(cr, kInk, 5);
    cairo_stroke(cr);
    if (on) {
        Pen(cr, kWhite, 8);
        cairo_move_to(cr, 18, 33);
        cairo_line_to(cr, 28, 43);
        cairo_line_to(cr, 47, 21);
        cairo_stroke(cr);
    }
}

void Triangle(cairo_t* cr, bool right) {
    const double d = right ? 1 : -1;
    cairo_move_to(cr, 32 - 9 * d, 16);
    cairo_line_to(cr, 32 + 11 * d, 32);
    cairo_line_to(cr, 32 - 9 * d, 48);
    cairo_close_path(cr);
    SetColour(cr, kInk);
    cairo_fill_preserve(cr);
    Pen(cr, kInk, 4);
    cairo_stroke(cr);
}

// The four link kinds in their skeleton colours.
void LinkKindIcon(cairo_t* cr, int kind) {
    const uint32_t colours[4] = {kGreen, kRed, kBlue, kOrange};
    const uint32_t c = colours[kind];
    switch (kind) {
    case 0: // spring: a coil
        Pen(cr, c, 4.5);
        cairo_move_to(cr, 10, 32);
        cairo_line_to(cr, 17, 32);
        for (int i = 0; i < 6; ++i) cairo_line_to(cr, 20 + i * 5, (i % 2) ? 42 : 22);
        cairo_line_to(cr, 47, 32);
        cairo_line_to(cr, 54, 32);
        cairo_stroke(cr);
        break;
    case 1: // rope: slack, pulls only
        Pen(cr, c, 5);
        cairo_move_to(cr, 11, 24);
        cairo_curve_to(cr, 22, 50, 42, 50, 53, 24);
        cairo_stroke(cr);
        break;
    case 2: // strut: a rigid bar, pushes only
        Pen(cr, c, 11);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        Line(cr, 14, 32, 50, 32);
        Pen(cr, kInk, 3);
        cairo_rectangle(cr, 14, 26.5, 36, 11);
        cairo_stroke(cr);
        break;
    default: // thruster: pushes its far end along itself
        cairo_move_to(cr, 16, 32);
        cairo_line_to(cr, 6, 25);
        cairo_line_to(cr, 9, 32);
        cairo_line_to(cr, 6, 39);
        cairo_close_path(cr);
        SetColour(cr, kYellow);
        cairo_fill(cr);
        Pen(cr, c, 5);
        Line(cr, 16, 32, 52, 32);
        ArrowHead(cr, 54, 32, 1, 0, 11);
        break;
    }
    if (kind != 2) {
        const double ends[2] = {kind == 3 ? 16.0 : 11.0, kind == 3 ? 54.0 : 53.0};
        const double y = kind == 1 ? 24.0 : 32.0;
        if (kind != 3) {
            Disc(cr, ends[0], y, 4.5);
            Disc(cr, ends[1], y, 4.5);
            SetColour(cr, kInk);
            cairo_fill(cr);
        }
    }
}

void PictureCard(cairo_t* cr, double x, double y, double w, double h) {
    cairo_rectangle(cr, x, y, w, h);
    FillOutline(cr, 0xcfe6fb, 3);
    cairo_move_to(cr, x + 2, y + h - 2);
    cairo_line_to(cr, x + w * 0.38, y + h * 0.45);
    cairo_line_to(cr, x + w * 0.6, y + h * 0.7);
    cairo_line_to(cr, x + w * 0.75, y + h * 0.55);
    cairo_line_to(cr, x + w - 2, y + h - 2);
    cairo_close_path(cr);
    SetColour(cr, kGreen);
    cairo_fill(cr);
    Disc(cr, x + w * 0.75, y + h * 0.3, h * 0.12);
    SetColour(cr, kAccent);
    cairo_fill(cr);
}

// The stroke a pencil leaves, under its tip.
void Scribble(cairo_t* cr, uint32_t colour, bool dashed) {
    Pen(cr, colour, 4);
    if (dashed) {
        const double dash[] = {5, 5};
        cairo_set_dash(cr, dash, 2, 0);
    }
    cairo_move_to(cr, 8, 56);
    cairo_curve_to(cr, 20, 46, 26, 60, 36, 54);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

// The frames the toolbars use; the other cells of the sheet stay transparent.
bool IsUsedFrame(int frame) {
    static const int kUsed[] = {0,  1,  3,  4,  5,  6,  7,  8,  9,  10, 12, 13, 15, 16, 17, 18, 19, 20, 21, 22,
                                23, 24, 25, 26, 28, 29, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44,
                                45, 46, 47, 48, 49, 54, 55};
    for (int used : kUsed)
        if (used == frame) return true;
    return false;
}

} // namespace

void DrawTile(cairo_t* cr) {
    RoundedRect(cr, 3, 3, 58, 58, 11);
    cairo_pattern_t* face = cairo_pattern_create_linear(0, 3, 0, 61);
    auto stop = [&](double at, uint32_t rgb) {
        cairo_pattern_add_color_stop_rgb(face, at, ((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0);
    };
    stop(0, kTileTop);
    stop(1, kTileBottom);
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    Pen(cr, kInkSoft, 2);
    cairo_stroke(cr);
}

void IconPencil(cairo_t* cr, unsigned bodyColour) {
    // Along the pencil's own axis: tip at x 0, the rubber end at x 52, half width 7.
    cairo_save(cr);
    cairo_translate(cr, 13, 51);
    cairo_rotate(cr, -kPi / 4);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, 13, -7);
    cairo_line_to(cr, 13, 7);
    cairo_close_path(cr);
    FillOutline(cr, 0xf1cf9a);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, 5, -2.7);
    cairo_line_to(cr, 5, 2.7);
    cairo_close_path(cr);
    SetColour(cr, kInk);
    cairo_fill(cr);
    cairo_rectangle(cr, 13, -7, 28, 14);
    FillOutline(cr, bodyColour);
    cairo_rectangle(cr, 41, -7, 5, 14);
    FillOutline(cr, 0xb8c0ca);
    RoundedRect(cr, 46, -7, 8, 14, 3);
    FillOutline(cr, 0xf28ca0);
    cairo_restore(cr);
}

void IconHand(cairo_t* cr) {
    // Drawn twice: first every part stroked wide in ink, then filled white, so
    // the outline runs only around the hand's silhouette.
    auto parts = [&]() {
        RoundedRect(cr, 18, 28, 30, 27, 9);
        RoundedRect(cr, 18, 15, 7, 26, 3.5);
        RoundedRect(cr, 26, 10, 7, 30, 3.5);
        RoundedRect(cr, 34, 12, 7, 28, 3.5);
        RoundedRect(cr, 42, 18, 6.5, 22, 3.2);
        cairo_save(cr);
        cairo_translate(cr, 20, 44);
        cairo_rotate(cr, -0.85);
        RoundedRect(cr, -3.5, -18, 7, 20, 3.5);
        cairo_restore(cr);
    };
    parts();
    Pen(cr, kInk, 2 * kOutline);
    cairo_stroke(cr);
    parts();
    SetColour(cr, kWhite);
    cairo_fill(cr);
    // The gaps between the fingers, down to the palm.
    Pen(cr, kInk, 2.2);
    Line(cr, 25.5, 19, 25.5, 36);
    Line(cr, 33.5, 16, 33.5, 36);
    Line(cr, 41.5, 22, 41.5, 36);
}

void IconMagnifier(cairo_t* cr, bool plus) {
    Pen(cr, kInk, 9);
    Line(cr, 37, 37, 51, 51);
    Disc(cr, 27, 27, 15);
    SetColour(cr, 0xcfe6fb);
    cairo_fill_preserve(cr);
    Pen(cr, kInk, kPen);
    cairo_stroke(cr);
    if (plus) {
        Pen(cr, kInk, 4.5);
        Line(cr, 20, 27, 34, 27);
        Line(cr, 27, 20, 27, 34);
    }
}

void IconEraser(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 33, 33);
    cairo_rotate(cr, -0.7);
    RoundedRect(cr, -20, -10, 20, 20, 3);
    FillOutline(cr, 0xf28ca0);
    RoundedRect(cr, 0, -10, 20, 20, 3);
    FillOutline(cr, 0x8fb8e8);
    cairo_restore(cr);
}

void IconFlag(cairo_t* cr, double x, double y, double scale) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_move_to(cr, 0, -40);
    cairo_curve_to(cr, 10, -44, 16, -35, 28, -39);
    cairo_line_to(cr, 28, -21);
    cairo_curve_to(cr, 16, -17, 10, -26, 0, -22);
    cairo_close_path(cr);
    FillOutline(cr, kAccent, kOutline / scale);
    Pen(cr, kInk, kPen / scale);
    Line(cr, 0, 0, 0, -42);
    cairo_restore(cr);
}

void IconPoint(cairo_t* cr, double x, double y, double r, unsigned fill) {
    Disc(cr, x, y, r);
    FillOutline(cr, fill, 3);
}

void DrawButtonFrame(cairo_t* cr, int frame) {
    const bool ownShape = frame == 0 || frame == 16 || frame == 17 || frame == 18 || frame == 36 || frame == 37 ||
                          (frame >= 44 && frame <= 47);
    if (!IsUsedFrame(frame)) return;
    if (!ownShape) DrawTile(cr);
    switch (frame) {
    case 0: Backdrop(cr); break;
    case 1: IconFlag(cr, 20, 52, 1.0); break;
    case 3: Magnet(cr, kRed); break;
    case 25:
        Magnet(cr, 0xa9b2be);
        Pen(cr, kRed, 5);
        Line(cr, 12, 52, 52, 12);
        break;
    case 4:
        Pen(cr, kInkSoft, 3);
        Line(cr, 12, 53, 52, 53);
        IconEraser(cr);
        break;
    case 5:
        Scribble(cr, kGreen, true);
        IconPencil(cr, kGreen);
        break;
    case 6: BoostLine(cr, true); break;
    case 19: BoostLine(cr, false); break;
    case 7:
        Scribble(cr, kInk, false);
        IconPencil(cr, kYellow);
        break;
    case 8: IconHand(cr); break;
    case 9: Play(cr, 23, 32, 30); break;
    case 13:
        RoundedRect(cr, 19, 17, 9, 30, 2);
        RoundedRect(cr, 36, 17, 9, 30, 2);
        FillOutline(cr, kAccent);
        break;
    case 10:
        RoundedRect(cr, 18, 18, 28, 28, 3);
        FillOutline(cr, kRed);
        break;
    case 12: Floppy(cr); break;
    case 15: IconMagnifier(cr, true); break;
    case 16: {
        Disc(cr, 32, 32, 15);
        cairo_pattern_t* knob = cairo_pattern_create_radial(27, 26, 2, 32, 32, 16);
        cairo_pattern_add_color_stop_rgb(knob, 0, 1.0, 0.78, 0.55);
        cairo_pattern_add_color_stop_rgb(knob, 1, 0.93, 0.36, 0.0);
        cairo_set_source(cr, knob);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(knob);
        Pen(cr, kInk, 4);
        cairo_stroke(cr);
        break;
    }
    case 17:
        RoundedRect(cr, 5, 5, 54, 54, 10);
        Pen(cr, kInk, 5);
        cairo_stroke(cr);
        RoundedRect(cr, 9.5, 9.5, 45, 45, 6);
        Pen(cr, kWhite, 2.5);
        cairo_stroke(cr);
        cairo_move_to(cr, 40, 50);
        cairo_line_to(cr, 54, 50);
        cairo_line_to(cr, 47, 57);
        cairo_close_path(cr);
        FillOutline(cr, kWhite, 2.5);
        break;
    case 18:
        RoundedRect(cr, 6, 6, 52, 52, 9);
        SetColour(cr, kWhite);
        cairo_fill(cr);
        break;
    case 20: case 21: case 22: case 23: Trash(cr, frame - 20); break;
    case 24:
        IconFlag(cr, 14, 52, 0.62);
        Play(cr, 31, 34, 26);
        break;
    case 26: Folder(cr); break;
    case 28: Menu(cr); break;
    case 29:
        IconPoint(cr, 25, 39, 10, kAccent);
        Pen(cr, kInk, kPen);
        Line(cr, 33, 31, 50, 14);
        ArrowHead(cr, 51, 13, 1, -1, 10);
        break;
    case 31:
        Pen(cr, kInkSoft, 3.5);
        for (double y : {23.0, 32.0, 41.0}) Line(cr, 20, y, 44, y);
        break;
    case 32: Chain(cr, true); break;
    case 33: Chain(cr, false); break;
    case 34:
        IconPoint(cr, 28, 36, 13, kAccent);
        Pen(cr, kInk, 4.5);
        Line(cr, 41, 16, 53, 16);
        Line(cr, 47, 10, 47, 22);
        break;
    case 35:
        Pen(cr, kGreen, 6);
        Line(cr, 17, 47, 47, 17);
        IconPoint(cr, 17, 47, 8, kAccent);
        IconPoint(cr, 47, 17, 8, kAccent);
        break;
    case 36: Checkbox(cr, false); break;
    case 37: Checkbox(cr, true); break;
    case 38: Triangle(cr, false); break;
    case 39: Triangle(cr, true); break;
    case 40: case 41: case 42: case 43: LinkKindIcon(cr, frame - 40); break;
    case 44: case 45: case 46: case 47: {
        const uint32_t colours[4] = {kGreen, kRed, kBlue, kOrange};
        TintedTile(cr, colours[frame - 44]);
        LinkKindIcon(cr, frame - 44);
        break;
    }
    case 48:
        Pen(cr, kAccent, 6);
        Disc(cr, 32, 32, 15);
        cairo_stroke(cr);
        Pen(cr, kInk, 5);
        Line(cr, 32, 8, 32, 20);
        Line(cr, 32, 44, 32, 56);
        Line(cr, 8, 32, 20, 32);
        Line(cr, 44, 32, 56, 32);
        Disc(cr, 32, 32, 5);
        SetColour(cr, kInk);
        cairo_fill(cr);
        break;
    case 49:
        PictureCard(cr, 11, 12, 42, 32);
        Pen(cr, kInk, 2.5);
        Line(cr, 32, 12, 32, 44);
        Line(cr, 11, 28, 53, 28);
        Pen(cr, kInk, 4);
        Line(cr, 20, 52, 44, 52);
        ArrowHead(cr, 32, 46, 0, -1, 7);
        break;
    case 54:
        Pen(cr, kGreen, 5);
        Line(cr, 12, 52, 52, 12);
        IconPoint(cr, 12, 52, 6, kAccent);
        IconPoint(cr, 52, 12, 6, kAccent);
        cairo_save(cr);
        cairo_translate(cr, 32, 32);
        cairo_rotate(cr, -kPi / 4);
        PictureCard(cr, -14, -10, 28, 20);
        cairo_restore(cr);
        break;
    case 55: {
        const double a0 = std::atan2(48 - 30, 14 - 32), a1 = std::atan2(46 - 30, 52 - 32);
        Pen(cr, kAccent, 4);
        cairo_arc(cr, 32, 30, 13, a1, a0);
        cairo_stroke(cr);
        Pen(cr, kInk, kPen);
        cairo_move_to(cr, 14, 48);
        cairo_line_to(cr, 32, 30);
        cairo_line_to(cr, 52, 46);
        cairo_stroke(cr);
        IconPoint(cr, 14, 48, 5.5, kAccent);
        IconPoint(cr, 32, 30, 6.5, kAccent);
        IconPoint(cr, 52, 46, 5.5, kAccent);
        break;
    }
    default: break;
    }
}
