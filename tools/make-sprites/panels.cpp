// The toolbars' panels, the chooser's scroll groove and the colour picker's box.
//
// tool_bar.png (64 x 512) hangs 1:1 from the track toolbar's anchor and
// tool_bar_re.png (256 x 512) from the rider toolbar's origin: image row r is
// r pixels below the anchor, column c is c pixels right of it. Both put a drag
// header under the handle, slider grooves exactly under the sliders' knob travel
// and quiet labels beside the widgets; everything else is drawn by the widgets.
#include "canvas.h"
#include "sprites.h"
#include "style.h"

#include <cmath>
#include <initializer_list>

namespace {

constexpr double kPi = 3.14159265358979323846;

void PanelBody(cairo_t* cr, double w, double h, double headerHeight, const char* title) {
    RoundedRect(cr, 1, 1, w - 2, h - 2, 8);
    SetColour(cr, kPanel, 0.94);
    cairo_fill_preserve(cr);
    SetColour(cr, kPanelEdge);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Header: the handle by which the toolbar is dragged.
    cairo_save(cr);
    RoundedRect(cr, 1, 1, w - 2, h - 2, 8);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 0, w, headerHeight);
    SetColour(cr, kPanelHeader);
    cairo_fill(cr);
    cairo_restore(cr);
    SetColour(cr, 0x8792a3);
    const double gripX = title ? w - 34 : w / 2 - 12;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, gripX + i * 12, headerHeight / 2 - 4 + j * 8, 2, 0, 2 * kPi);
        }
    cairo_fill(cr);
    if (title) {
        UseFace(cr, Face::SansBold, 13);
        SetColour(cr, kWhite);
        DrawText(cr, 10, headerHeight / 2 + 5, title);
    }
}

void Separator(cairo_t* cr, double x0, double x1, double y) {
    cairo_move_to(cr, x0, y + 0.5);
    cairo_line_to(cr, x1, y + 0.5);
    SetColour(cr, kPanelEdge, 0.7);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// A slider groove from x0 to x1 on row y (the knob's centre line).
void Groove(cairo_t* cr, double x0, double x1, double y, bool wedge) {
    if (wedge) { // the line thickness slider: thin on the left, thick on the right
        cairo_move_to(cr, x0, y - 1);
        cairo_line_to(cr, x1, y - 5);
        cairo_line_to(cr, x1, y + 5);
        cairo_line_to(cr, x0, y + 1);
        cairo_close_path(cr);
        SetColour(cr, kInkSoft);
        cairo_fill(cr);
        return;
    }
    RoundedRect(cr, x0 - 3, y - 3, x1 - x0 + 6, 6, 3);
    SetColour(cr, 0xc3cad4);
    cairo_fill_preserve(cr);
    SetColour(cr, kInkSoft);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

void Label(cairo_t* cr, double x, double baseline, const char* text, double size = 9.5) {
    UseFace(cr, Face::SansBold, size);
    SetColour(cr, kInkSoft);
    DrawText(cr, x, baseline, text);
}

// The ghost preview toggle's pictogram beside its check box.
void Ghost(cairo_t* cr, double x, double y) {
    cairo_move_to(cr, x, y + 16);
    cairo_line_to(cr, x, y + 7);
    cairo_arc(cr, x + 8, y + 7, 8, kPi, 2 * kPi);
    cairo_line_to(cr, x + 16, y + 16);
    for (int i = 0; i < 3; ++i) {
        cairo_line_to(cr, x + 16 - i * 16.0 / 3 - 8.0 / 3, y + 13);
        cairo_line_to(cr, x + 16 - (i + 1) * 16.0 / 3, y + 16);
    }
    cairo_close_path(cr);
    SetColour(cr, kWhite);
    cairo_fill_preserve(cr);
    SetColour(cr, kInkSoft);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    SetColour(cr, kInk);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + 5.5, y + 7, 1.6, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + 10.5, y + 7, 1.6, 0, 2 * kPi);
    cairo_fill(cr);
}

bool TrackToolbar(const char* folder) {
    Canvas canvas = MakeCanvas(64, 512);
    cairo_t* cr = canvas.cr;
    // The panel widget reaches 389 pixels down; the ghost box ends at 378.
    PanelBody(cr, 64, 392, 26, nullptr);
    for (double y : {128.0, 192.0, 288.0, 352.0}) Separator(cr, 6, 58, y);
    // Thickness slider: 63 x 32 at row 96; the 32-pixel knob is centred 5 pixels
    // above the slider's middle (row 117) and travels from x 8 to x 59.
    Groove(cr, 8, 59, 117, true);
    Label(cr, 4, 104, "WIDTH", 8);
    Ghost(cr, 34, 359);
    return SaveCanvas(canvas, folder, "tool_bar.png");
}

bool RiderToolbar(const char* folder) {
    Canvas canvas = MakeCanvas(256, 512);
    cairo_t* cr = canvas.cr;
    PanelBody(cr, 256, 360, 24, "RIDER PARTS");
    // Section rules between points, links, sprites and files.
    Separator(cr, 6, 250, 101);
    Separator(cr, 6, 250, 241);
    Separator(cr, 6, 250, 283);
    // Points: group buttons at x 88 and 140 round the preview point (128, 54).
    Label(cr, 84, 36, "GROUP");
    Label(cr, 218, 40, "HIT", 8.5);
    Label(cr, 218, 62, "GRIP", 8.5);
    Label(cr, 62, 54, "FOCUS", 7.5);
    // Radius and mass sliders: 112 wide, knob row 85, travel x 8..108 and 148..248.
    Groove(cr, 8, 108, 85, false);
    Groove(cr, 148, 248, 85, false);
    Label(cr, 8, 74, "RADIUS");
    Label(cr, 150, 74, "MASS");
    Label(cr, 117, 100, "=R", 7.5);
    // Links: break group buttons at x 88 and 140 round its number.
    Label(cr, 40, 118, "LINKS");
    Label(cr, 172, 122, "BREAK");
    Label(cr, 172, 134, "GROUP");
    Groove(cr, 8, 108, 155, false);
    Groove(cr, 8, 108, 187, false);
    Label(cr, 8, 145, "STIFFNESS");
    Label(cr, 8, 177, "BREAK LIMIT");
    Label(cr, 126, 203, "SPRING  ROPE  STRUT  JET", 7.2);
    Label(cr, 10, 228, "LINK KIND");
    // Sprites: sheet, frame down / attach / frame up, show.
    Label(cr, 8, 262, "SPRITE");
    Label(cr, 218, 262, "SHOW", 8.5);
    // Files and the joint tool.
    Label(cr, 40, 308, "JOINTS");
    Label(cr, 70, 340, "SAVE / LOAD RIDER");
    return SaveCanvas(canvas, folder, "tool_bar_re.png");
}

// The timeline bar's panel along the bottom of the track screen: stretched over the screen's
// width, with the groove drawn by the game where the time text ends.
bool TimelinePanel(const char* folder) {
    Canvas canvas = MakeCanvas(1024, 32);
    cairo_t* cr = canvas.cr;
    RoundedRect(cr, 1, 3, 1022, 28, 8);
    SetColour(cr, kPanel, 0.94);
    cairo_fill_preserve(cr);
    SetColour(cr, kPanelEdge);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    return SaveCanvas(canvas, folder, "timeline.png");
}

// The rider chooser's scroll groove: stretched over the screen's height, so it is
// the same along its length.
bool ScrollGroove(const char* folder) {
    Canvas canvas = MakeCanvas(32, 128);
    cairo_t* cr = canvas.cr;
    cairo_pattern_t* across = cairo_pattern_create_linear(0, 0, 32, 0);
    cairo_pattern_add_color_stop_rgba(across, 0.0, 0.55, 0.59, 0.65, 1);
    cairo_pattern_add_color_stop_rgba(across, 0.12, 0.80, 0.83, 0.87, 1);
    cairo_pattern_add_color_stop_rgba(across, 0.5, 0.90, 0.92, 0.94, 1);
    cairo_pattern_add_color_stop_rgba(across, 0.88, 0.80, 0.83, 0.87, 1);
    cairo_pattern_add_color_stop_rgba(across, 1.0, 0.55, 0.59, 0.65, 1);
    cairo_rectangle(cr, 4, 0, 24, 128);
    cairo_set_source(cr, across);
    cairo_fill(cr);
    cairo_pattern_destroy(across);
    cairo_rectangle(cr, 15, 0, 2, 128);
    SetColour(cr, kInkSoft, 0.5);
    cairo_fill(cr);
    return SaveCanvas(canvas, folder, "scroll.png");
}

// HSV to RGB, h in [0, 6).
void Hue(double h, double& r, double& g, double& b) {
    const double x = 1 - std::fabs(std::fmod(h, 2.0) - 1);
    const int sector = int(h) % 6;
    const double table[6][3] = {{1, x, 0}, {x, 1, 0}, {0, 1, x}, {0, x, 1}, {x, 0, 1}, {1, 0, x}};
    r = table[sector][0];
    g = table[sector][1];
    b = table[sector][2];
}

// gradient_box.png: the scenery colour picker, sampled 1:1 by the game at
// columns 4..252 and rows 3..251, every pixel opaque. A grey ramp on the left,
// then the hues from left to right, white at the top through the full colour in
// the middle to black at the bottom; a dark frame around the sampled area.
bool GradientBox(const char* folder) {
    Canvas canvas = MakeCanvas(256, 256);
    uint8_t* data = cairo_image_surface_get_data(canvas.surface);
    const int stride = cairo_image_surface_get_stride(canvas.surface);
    cairo_surface_flush(canvas.surface);
    for (int row = 0; row < 256; ++row) {
        uint32_t* line = reinterpret_cast<uint32_t*>(data + row * stride);
        for (int col = 0; col < 256; ++col) {
            double r = 0.16, g = 0.19, b = 0.235; // frame
            const bool inside = col >= 4 && col <= 252 && row >= 3 && row <= 251;
            if (inside) {
                const double t = (row - 3) / 248.0; // 0 top .. 1 bottom
                if (col < 20) {
                    r = g = b = 1 - t;
                } else {
                    Hue((col - 20) / 233.0 * 6.0 * 0.9999, r, g, b);
                    if (t < 0.5) { // white to full colour
                        const double k = t / 0.5;
                        r = 1 - k * (1 - r);
                        g = 1 - k * (1 - g);
                        b = 1 - k * (1 - b);
                    } else { // full colour to black
                        const double k = (1 - t) / 0.5;
                        r *= k;
                        g *= k;
                        b *= k;
                    }
                }
            }
            line[col] = 0xff000000u | uint32_t(std::lround(r * 255)) << 16 | uint32_t(std::lround(g * 255)) << 8 |
                        uint32_t(std::lround(b * 255));
        }
    }
    cairo_surface_mark_dirty(canvas.surface);
    return SaveCanvas(canvas, folder, "gradient_box.png");
}

} // namespace

bool MakePanels(const char* folder) {
    bool ok = TrackToolbar(folder);
    ok = RiderToolbar(folder) && ok;
    ok = ScrollGroove(folder) && ok;
    ok = TimelinePanel(folder) && ok;
    ok = GradientBox(folder) && ok;
    return ok;
}
