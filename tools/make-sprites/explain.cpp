// The two explanation pictures, 512 x 512, shown 1:1 before the first visit of
// the track screen (explain_256_eng.png) and of the rider editor
// (explain_re_eng_256.png). Each shows the real toolbar, assembled from the
// generated panel and the button pictograms at their places, with a label beside
// every control, and the mouse buttons and keys of that screen.
#include "canvas.h"
#include "icons.h"
#include "sprites.h"
#include "style.h"

#include <cstdio>
#include <initializer_list>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Place {
    double x, y;    // top-left in the toolbar image (pixels below and right of its anchor)
    double size;    // the button's square size
    int frame;      // buttons1.png frame
    double inset;   // the resting inset (the button's depth)
    bool selected;  // draws the selection backdrop first
};

// A button as the game draws it at rest: the backdrop when selected, the frame inset.
void DrawButton(cairo_t* cr, const Place& p) {
    if (p.selected) {
        cairo_save(cr);
        cairo_translate(cr, p.x, p.y);
        cairo_scale(cr, p.size / 64, p.size / 64);
        DrawButtonFrame(cr, 0);
        cairo_restore(cr);
    }
    const double inner = p.size - 2 * p.inset;
    cairo_save(cr);
    cairo_translate(cr, p.x + p.inset, p.y + p.inset);
    cairo_scale(cr, inner / 64, inner / 64);
    DrawButtonFrame(cr, p.frame);
    cairo_restore(cr);
}

// A slider knob (32 x 32) centred on (x, y).
void DrawKnob(cairo_t* cr, double x, double y) {
    cairo_save(cr);
    cairo_translate(cr, x - 16, y - 16);
    cairo_scale(cr, 0.5, 0.5);
    DrawButtonFrame(cr, 16);
    cairo_restore(cr);
}

bool PaintImage(cairo_t* cr, const char* folder, const char* file, double x, double y) {
    char path[1024];
    std::snprintf(path, sizeof path, "%s/%s", folder, file);
    cairo_surface_t* image = cairo_image_surface_create_from_png(path);
    const bool ok = cairo_surface_status(image) == CAIRO_STATUS_SUCCESS;
    if (ok) {
        cairo_set_source_surface(cr, image, x, y);
        cairo_paint(cr);
    }
    cairo_surface_destroy(image);
    return ok;
}

void Background(cairo_t* cr, const char* title) {
    SetColour(cr, kWhite);
    cairo_paint(cr);
    RoundedRect(cr, 4, 4, 504, 504, 14);
    SetColour(cr, 0xf6f8fa);
    cairo_fill_preserve(cr);
    SetColour(cr, kPanelEdge);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    UseFace(cr, Face::SansBold, 24);
    SetColour(cr, kInk, 0.35);
    DrawText(cr, 22, 40, title);
    SetColour(cr, kAccent);
    DrawText(cr, 20, 38, title);
}

void Text(cairo_t* cr, double x, double baseline, const char* text, double size, bool bold, uint32_t colour) {
    UseFace(cr, bold ? Face::SansBold : Face::Sans, size);
    SetColour(cr, colour);
    DrawText(cr, x, baseline, text);
}

// A label for one toolbar row: a short name in bold and a hint under it.
void RowLabel(cairo_t* cr, double x, double rowTop, double rowHeight, const char* name, const char* hint) {
    const double mid = rowTop + rowHeight / 2;
    Text(cr, x, hint ? mid - 2 : mid + 4, name, 11.5, true, kInk);
    if (hint) Text(cr, x, mid + 11, hint, 10, false, kInkSoft);
}

// A keyboard key or mouse button: a small rounded cap with its name; returns its width.
double KeyCap(cairo_t* cr, double x, double baseline, const char* key) {
    UseFace(cr, Face::SansBold, 10.5);
    const double w = TextWidth(cr, key) + 10;
    RoundedRect(cr, x, baseline - 12, w, 16, 4);
    SetColour(cr, kWhite);
    cairo_fill_preserve(cr);
    SetColour(cr, kInkSoft);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    SetColour(cr, kInk);
    DrawText(cr, x + 5, baseline, key);
    return w;
}

void KeyLine(cairo_t* cr, double x, double baseline, const char* key, const char* what) {
    const double w = KeyCap(cr, x, baseline, key);
    Text(cr, x + w + 6, baseline, what, 10.5, false, kInk);
}

void Box(cairo_t* cr, double x, double y, double w, double h, const char* heading) {
    RoundedRect(cr, x, y, w, h, 8);
    SetColour(cr, kWhite);
    cairo_fill_preserve(cr);
    SetColour(cr, kPanelEdge);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    Text(cr, x + 10, y + 18, heading, 12, true, kAccentDark);
}

void Leader(cairo_t* cr, double x0, double y, double x1) {
    cairo_move_to(cr, x0, y + 0.5);
    cairo_line_to(cr, x1, y + 0.5);
    SetColour(cr, kAccent, 0.8);
    cairo_set_line_width(cr, 1);
    const double dash[] = {2, 2};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

bool TrackExplanation(const char* folder) {
    Canvas canvas = MakeCanvas(512, 512);
    cairo_t* cr = canvas.cr;
    Background(cr, "THE TRACK SCREEN");

    const double tx = 22, ty = 56; // toolbar anchor in the picture
    cairo_save(cr);
    cairo_translate(cr, tx, ty);
    bool ok = PaintImage(cr, folder, "tool_bar.png", 0, 0);
    const Place buttons[] = {
        {0, 32, 32, 7, 4, true},   {32, 32, 32, 6, 4, false},  {0, 64, 32, 5, 4, false},  {32, 64, 32, 4, 4, false},
        {0, 128, 32, 8, 4, false}, {32, 128, 32, 15, 4, false}, {0, 160, 32, 9, 4, false}, {32, 160, 32, 10, 4, false},
        {0, 192, 32, 24, 4, false}, {32, 192, 32, 1, 4, false}, {0, 224, 32, 3, 4, false}, {32, 224, 32, 29, 4, false},
        {0, 288, 32, 26, 4, false}, {32, 288, 32, 12, 4, false}, {0, 320, 32, 28, 4, false}, {32, 320, 32, 20, 4, false},
        {6, 358, 20, 36, 4, false},
    };
    for (const Place& p : buttons) DrawButton(cr, p);
    DrawKnob(cr, 8 + 20, 117);
    // The colour swatch: the white fill tinted with the scenery colour, then its border.
    cairo_save(cr);
    cairo_translate(cr, 16, 256);
    cairo_scale(cr, 0.5, 0.5);
    cairo_push_group(cr);
    DrawButtonFrame(cr, 18);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
    RoundedRect(cr, 6, 6, 52, 52, 9);
    SetColour(cr, 0x3a9be0);
    cairo_fill(cr);
    DrawButtonFrame(cr, 17);
    cairo_restore(cr);
    cairo_restore(cr);

    const double lx = 100;
    struct Row {
        double top, height;
        const char* name;
        const char* hint;
    };
    const Row rows[] = {
        {0, 26, "DRAG HERE: move the toolbar", nullptr},
        {32, 32, "PENCIL  /  BOOST LINE", "draw track; boost twice: reverse"},
        {64, 32, "SCENERY  /  ERASER", "lines that never collide; rub out"},
        {96, 32, "LINE WIDTH", "drag the knob"},
        {128, 32, "PAN  /  ZOOM", "drag the view; drag up or down"},
        {160, 32, "PLAY  /  STOP", "ride or pause; back to the start"},
        {192, 32, "PLAY FROM FLAG  /  FLAG", "run from the saved start; save it"},
        {224, 32, "SNAP  /  GRAB", "join line ends; pull the rider"},
        {256, 32, "SCENERY COLOUR", "click to open the colour box"},
        {288, 32, "LOAD  /  SAVE", "track files"},
        {320, 32, "MENU  /  CLEAR", "clear: click 4 times in a row"},
        {354, 28, "GHOST", "preview of the next moves"},
    };
    for (const Row& r : rows) {
        Leader(cr, tx + 66, ty + r.top + r.height / 2, lx - 4);
        RowLabel(cr, lx, ty + r.top, r.height, r.name, r.hint);
    }

    Box(cr, 300, 62, 196, 176, "MOUSE");
    KeyLine(cr, 310, 100, "Left drag", "draw freehand");
    KeyLine(cr, 310, 124, "Right drag", "straight line");
    KeyLine(cr, 310, 148, "Ctrl", "with right held:");
    Text(cr, 346, 164, "next line from here", 10.5, false, kInk);
    KeyLine(cr, 310, 188, "Middle drag", "move the view");
    Text(cr, 310, 214, "Over the toolbar the mouse", 10, false, kInkSoft);
    Text(cr, 310, 228, "only works the buttons.", 10, false, kInkSoft);

    Box(cr, 300, 250, 196, 196, "KEYS");
    KeyLine(cr, 310, 288, "Space", "hold to ride");
    KeyLine(cr, 310, 312, "M", "one step per press");
    KeyLine(cr, 310, 336, "R", "rider back to start");
    KeyLine(cr, 310, 360, "Z", "zoom in");
    KeyLine(cr, 400, 360, "X", "zoom out");
    KeyLine(cr, 310, 384, "D", "skeleton / sprites");
    KeyLine(cr, 310, 408, "Esc", "menu");

    Text(cr, 22, 484, "Draw a track, press PLAY and watch the rider go. Press NEXT to start.", 11.5, true, kInk);
    ok = SaveCanvas(canvas, folder, "explain_256_eng.png") && ok;
    return ok;
}

bool RiderExplanation(const char* folder) {
    Canvas canvas = MakeCanvas(512, 512);
    cairo_t* cr = canvas.cr;
    Background(cr, "THE RIDER EDITOR");

    const double scale = 0.8, tx = 16, ty = 52;
    cairo_save(cr);
    cairo_translate(cr, tx, ty);
    cairo_scale(cr, scale, scale);
    bool ok = PaintImage(cr, folder, "tool_bar_re.png", 0, 0);
    const Place buttons[] = {
        {118, 73, 20, 32, 4, false},  {0, 32, 32, 34, 4, true},     {196, 26, 20, 37, 4, false},
        {88, 40, 28, 38, 4, false},   {140, 40, 28, 39, 4, false},  {196, 48, 20, 36, 4, false},
        {0, 106, 32, 35, 4, false},   {126, 206, 32, 44, 0, false}, {158, 206, 32, 41, 0, false},
        {190, 206, 32, 42, 0, false}, {222, 206, 32, 43, 0, false}, {88, 110, 28, 38, 4, false},
        {140, 110, 28, 39, 4, false}, {40, 40, 20, 48, 1, false},   {64, 240, 32, 49, 2, false},
        {108, 246, 28, 38, 4, false}, {160, 246, 28, 39, 4, false}, {132, 240, 32, 54, 2, false},
        {196, 248, 20, 37, 4, false}, {32, 320, 32, 12, 4, false},  {0, 320, 32, 26, 4, false},
        {0, 288, 32, 55, 4, false},
    };
    for (const Place& p : buttons) DrawButton(cr, p);
    for (double x : {8.0 + 60, 148.0 + 60}) DrawKnob(cr, x, 85);
    DrawKnob(cr, 8 + 80, 155);
    DrawKnob(cr, 8 + 100, 187);
    // The preview point of the chosen group.
    cairo_new_sub_path(cr);
    cairo_arc(cr, 128, 54, 12, 0, 2 * kPi);
    SetColour(cr, kAccent);
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_restore(cr);

    // Numbered badges on the corners of the three tools, explained on the right.
    const double badges[3][2] = {{0, 32}, {0, 106}, {0, 288}};
    for (int i = 0; i < 3; ++i) {
        const double bx = tx + (badges[i][0] + 3) * scale, by = ty + (badges[i][1] + 3) * scale;
        cairo_new_sub_path(cr);
        cairo_arc(cr, bx, by, 7, 0, 2 * kPi);
        SetColour(cr, kAccent);
        cairo_fill(cr);
        char digit[2] = {char('1' + i), 0};
        UseFace(cr, Face::SansBold, 10);
        SetColour(cr, kWhite);
        DrawTextCentred(cr, bx, by + 3.6, digit);
    }

    Box(cr, 232, 52, 264, 294, "TOOLS");
    double y = 88;
    auto tool = [&](const char* name, const char* const* lines, int count) {
        Text(cr, 244, y, name, 12, true, kInk);
        y += 15;
        for (int i = 0; i < count; ++i, y += 13.5) Text(cr, 252, y, lines[i], 10.5, false, kInk);
        y += 6;
    };
    const char* pointLines[] = {"Right click: new point, drag on", "for a chain of points and links.",
                                "Left: pick and move; drag a box.", "Shift: add to the picked ones."};
    tool("1  POINTS", pointLines, 4);
    const char* linkLines[] = {"Left: pick links; right: as points.", "Arrows move the sprite; numpad",
                               "8 2 4 6 / I K J L size, + - / O U depth."};
    tool("2  LINKS", linkLines, 3);
    const char* jointLines[] = {"Right click three points: the", "middle one keeps its angle."};
    tool("3  JOINTS", jointLines, 2);
    Text(cr, 244, y, "LINK KINDS", 12, true, kInk);
    y += 16;
    const struct {
        uint32_t colour;
        const char* text;
    } kinds[] = {{kGreen, "SPRING  holds its length"},
                 {kRed, "ROPE  pulls only"},
                 {kBlue, "STRUT  pushes only"},
                 {kOrange, "JET  drives along itself"}};
    for (const auto& k : kinds) {
        cairo_move_to(cr, 252, y - 4);
        cairo_line_to(cr, 268, y - 4);
        SetColour(cr, k.colour);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
        Text(cr, 274, y, k.text, 10.5, false, kInk);
        y += 13.5;
    }

    Box(cr, 16, 352, 480, 124, "KEYS AND MOUSE");
    KeyLine(cr, 26, 390, "Space", "test ride on the track");
    KeyLine(cr, 26, 414, "Esc", "menu");
    KeyLine(cr, 26, 438, "Delete", "remove the picked parts");
    KeyLine(cr, 26, 462, "D", "sprites on / off");
    KeyLine(cr, 262, 390, "Z", "zoom in");
    KeyLine(cr, 340, 390, "X", "zoom out");
    KeyLine(cr, 262, 414, "Middle drag", "move the view");
    Text(cr, 262, 438, "Sliders and buttons change the", 10.5, false, kInk);
    Text(cr, 262, 452, "picked points and links too.", 10.5, false, kInk);
    Text(cr, 20, 496, "Save into the riders folder to pick your rider in a new game.", 11, true, kInk);
    ok = SaveCanvas(canvas, folder, "explain_re_eng_256.png") && ok;
    return ok;
}

} // namespace

bool MakeExplanations(const char* folder) {
    bool ok = TrackExplanation(folder);
    ok = RiderExplanation(folder) && ok;
    return ok;
}
