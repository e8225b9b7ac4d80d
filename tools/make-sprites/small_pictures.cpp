// The start flag and the four pictures the sprite table assigns but no screen
// draws (kept small and in the same style, so that any later use looks right).
//
// flag.png (128 x 128) is drawn as a 40 x 40 world-unit square centred 12 units
// right of the start point: the start point is at 20 % of the width and half the
// height, so the pole stands on it and the banner flies to the right.
#include "canvas.h"
#include "icons.h"
#include "sprites.h"
#include "style.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

bool StartFlag(const char* folder) {
    Canvas canvas = MakeCanvas(128, 128);
    cairo_t* cr = canvas.cr;
    const double footX = 128 * 0.2, footY = 64;
    cairo_save(cr);
    cairo_scale(cr, 1, 0.35); // a flat shadow ellipse under the foot
    cairo_arc(cr, footX, footY / 0.35, 12, 0, 2 * kPi);
    cairo_restore(cr);
    SetColour(cr, kInk, 0.25);
    cairo_fill(cr);
    // The 64-unit flag pictogram is 42 units tall: scale it to 56 pixels.
    IconFlag(cr, footX, footY, 56.0 / 42.0);
    cairo_arc(cr, footX, 8, 4.5, 0, 2 * kPi);
    SetColour(cr, kYellow);
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    return SaveCanvas(canvas, folder, "flag.png");
}

// back2.png: a faint paper grid, 64 x 64, tiles seamlessly.
bool Paper(const char* folder) {
    Canvas canvas = MakeCanvas(64, 64);
    cairo_t* cr = canvas.cr;
    SetColour(cr, 0xfbfcfd);
    cairo_paint(cr);
    SetColour(cr, 0xdde4ec);
    cairo_set_line_width(cr, 1);
    for (int i = 0; i < 64; i += 16) {
        cairo_move_to(cr, i + 0.5, 0);
        cairo_line_to(cr, i + 0.5, 64);
        cairo_move_to(cr, 0, i + 0.5);
        cairo_line_to(cr, 64, i + 0.5);
    }
    cairo_stroke(cr);
    return SaveCanvas(canvas, folder, "back2.png");
}

// pencil.png: the pencil pictogram alone, 64 x 64.
bool Pencil(const char* folder) {
    Canvas canvas = MakeCanvas(64, 64);
    IconPencil(canvas.cr, kYellow);
    return SaveCanvas(canvas, folder, "pencil.png");
}

// line_gradient2.png: 64 x 16, a soft horizontal band, opaque in the middle row
// and fading to transparent at the top and bottom (for drawing thick lines).
bool LineGradient(const char* folder) {
    Canvas canvas = MakeCanvas(64, 16);
    cairo_t* cr = canvas.cr;
    cairo_pattern_t* band = cairo_pattern_create_linear(0, 0, 0, 16);
    cairo_pattern_add_color_stop_rgba(band, 0.0, 1, 1, 1, 0);
    cairo_pattern_add_color_stop_rgba(band, 0.5, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(band, 1.0, 1, 1, 1, 0);
    cairo_set_source(cr, band);
    cairo_paint(cr);
    cairo_pattern_destroy(band);
    return SaveCanvas(canvas, folder, "line_gradient2.png");
}

// dot.png: 32 x 32, a round white dot with a soft edge.
bool Dot(const char* folder) {
    Canvas canvas = MakeCanvas(32, 32);
    cairo_t* cr = canvas.cr;
    cairo_pattern_t* soft = cairo_pattern_create_radial(16, 16, 0, 16, 16, 15);
    cairo_pattern_add_color_stop_rgba(soft, 0.0, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(soft, 0.7, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(soft, 1.0, 1, 1, 1, 0);
    cairo_set_source(cr, soft);
    cairo_arc(cr, 16, 16, 15, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(soft);
    return SaveCanvas(canvas, folder, "dot.png");
}

} // namespace

bool MakeSmallPictures(const char* folder) {
    bool ok = StartFlag(folder);
    ok = Paper(folder) && ok;
    ok = Pencil(folder) && ok;
    ok = LineGradient(folder) && ok;
    ok = Dot(folder) && ok;
    return ok;
}
