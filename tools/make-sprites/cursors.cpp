// cursors.png: the mouse cursor strip, 8 frames of 32 x 32 pixels, drawn 1:1.
// The game centres each frame on the pointer plus a per-shape offset, so every
// picture puts its hot spot where that offset expects it (pixel coordinates from
// the frame's top left): 0 pencil tip (12, 25), 1 hand (12, 25), 2 scenery pencil
// tip (8, 26), 3 arrow tip (10, 4), 4 magnifier lens centre (16, 16),
// 5 boost pencil tip (12, 25), 6 crosshair centre (16, 16), 7 eraser centre (16, 16).
#include "canvas.h"
#include "icons.h"
#include "sprites.h"
#include "style.h"

namespace {

constexpr int kCell = 32;
constexpr double kPencilScale = 0.46;

// Places the 64-unit pencil pictogram so that its tip (13, 51) lands on (x, y).
void PencilAt(cairo_t* cr, double x, double y, uint32_t body) {
    cairo_save(cr);
    cairo_translate(cr, x - 13 * kPencilScale, y - 51 * kPencilScale);
    cairo_scale(cr, kPencilScale, kPencilScale);
    IconPencil(cr, body);
    cairo_restore(cr);
}

void Arrow(cairo_t* cr) {
    cairo_move_to(cr, 10, 4);
    cairo_line_to(cr, 10, 25);
    cairo_line_to(cr, 14.5, 20.5);
    cairo_line_to(cr, 18, 28);
    cairo_line_to(cr, 21.5, 26.5);
    cairo_line_to(cr, 18, 19);
    cairo_line_to(cr, 24.5, 19);
    cairo_close_path(cr);
    SetColour(cr, kWhite);
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

// A crosshair that stays visible on white and on dark lines: ink strokes on a white halo.
void Crosshair(cairo_t* cr) {
    for (int pass = 0; pass < 2; ++pass) {
        SetColour(cr, pass == 0 ? kWhite : kInk);
        cairo_set_line_width(cr, pass == 0 ? 4.0 : 1.8);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, 3, 16);
        cairo_line_to(cr, 11, 16);
        cairo_move_to(cr, 21, 16);
        cairo_line_to(cr, 29, 16);
        cairo_move_to(cr, 16, 3);
        cairo_line_to(cr, 16, 11);
        cairo_move_to(cr, 16, 21);
        cairo_line_to(cr, 16, 29);
        cairo_stroke(cr);
        cairo_arc(cr, 16, 16, 7.5, 0, 6.2831853);
        cairo_stroke(cr);
    }
    cairo_arc(cr, 16, 16, 1.6, 0, 6.2831853);
    SetColour(cr, kAccent);
    cairo_fill(cr);
}

void DrawCursor(cairo_t* cr, int frame) {
    switch (frame) {
    case 0: PencilAt(cr, 12, 25, kYellow); break;
    case 1:
        cairo_translate(cr, -1, 1);
        cairo_scale(cr, 0.5, 0.5);
        IconHand(cr);
        break;
    case 2: PencilAt(cr, 8, 26, kGreen); break;
    case 3: Arrow(cr); break;
    case 4:
        cairo_translate(cr, 16 - 27 * 0.5, 16 - 27 * 0.5);
        cairo_scale(cr, 0.5, 0.5);
        IconMagnifier(cr, true);
        break;
    case 5: PencilAt(cr, 12, 25, kRed); break;
    case 6: Crosshair(cr); break;
    default:
        cairo_translate(cr, 16 - 33 * 0.5, 16 - 33 * 0.5);
        cairo_scale(cr, 0.5, 0.5);
        IconEraser(cr);
        break;
    }
}

} // namespace

bool MakeCursors(const char* folder) {
    Canvas canvas = MakeCanvas(8 * kCell, kCell);
    for (int frame = 0; frame < 8; ++frame) {
        cairo_save(canvas.cr);
        cairo_rectangle(canvas.cr, frame * kCell, 0, kCell, kCell);
        cairo_clip(canvas.cr);
        cairo_translate(canvas.cr, frame * kCell, 0);
        DrawCursor(canvas.cr, frame);
        cairo_restore(canvas.cr);
    }
    return SaveCanvas(canvas, folder, "cursors.png");
}
