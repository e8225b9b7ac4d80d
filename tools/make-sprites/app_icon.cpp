// The program's icon for desktops and menus: a drawn slope on a dark tile with a sled riding
// it, as PNG at the sizes desktops ask for and as SVG. Only paths, no text, so every size
// is the same drawing scaled.
#include "canvas.h"
#include "sprites.h"

#include <cairo-svg.h>

#include <cstdio>

namespace {

constexpr int kPngSizes[] = {48, 64, 128, 256};   // pixels, the hicolor sizes the install fills

// Draws the icon into a square of side units, the origin at its top-left corner.
void DrawIcon(cairo_t* cr, double side) {
    cairo_save(cr);
    cairo_scale(cr, side / 256.0, side / 256.0);
    // The tile: the game's dark background with a thin light rim.
    RoundedRect(cr, 8, 8, 240, 240, 40);
    SetColour(cr, 0x1c2433);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 6);
    SetColour(cr, 0x5a6f8f);
    cairo_stroke(cr);
    // The track: a pencil line falling from the left and curling up into a jump.
    cairo_move_to(cr, 30, 84);
    cairo_curve_to(cr, 90, 96, 110, 196, 170, 196);
    cairo_curve_to(cr, 200, 196, 214, 182, 228, 160);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 14);
    SetColour(cr, 0xf2f2f2);
    cairo_stroke(cr);
    // The rider: a sled along the slope with its rider's head above it.
    cairo_translate(cr, 104, 140);
    cairo_rotate(cr, 0.72);
    RoundedRect(cr, -34, -16, 68, 14, 6);
    SetColour(cr, 0xe8702a);
    cairo_fill(cr);
    cairo_arc(cr, -4, -40, 15, 0, 2 * 3.14159265358979323846);
    SetColour(cr, 0xf5c542);
    cairo_fill(cr);
    cairo_move_to(cr, -4, -26);
    cairo_line_to(cr, 0, -14);
    cairo_set_line_width(cr, 8);
    SetColour(cr, 0xf5c542);
    cairo_stroke(cr);
    cairo_restore(cr);
}

bool MakeSvgIcon(const char* folder) {
    char path[1024];
    std::snprintf(path, sizeof path, "%s/velmora.svg", folder);
    cairo_surface_t* surface = cairo_svg_surface_create(path, 256, 256);
    cairo_svg_surface_restrict_to_version(surface, CAIRO_SVG_VERSION_1_1);
    cairo_t* cr = cairo_create(surface);
    DrawIcon(cr, 256);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    std::printf("%s%s\n", path, ok ? "" : " FAILED");
    return ok;
}

}  // namespace

bool MakeAppIcons(const char* folder) {
    bool ok = true;
    for (int size : kPngSizes) {
        Canvas canvas = MakeCanvas(size, size);
        DrawIcon(canvas.cr, size);
        char name[64];
        std::snprintf(name, sizeof name, "velmora-%d.png", size);
        ok = SaveCanvas(canvas, folder, name) && ok;
    }
    return MakeSvgIcon(folder) && ok;
}
