// to.png: the default rider's sprite sheet, 4 x 4 cells of 128 x 128 pixels.
//
// The game draws a cell on a link from its end a to its end b: the quad is centred
// on the link (plus the sprite's along/across offsets), the cell's left edge lies
// towards a and its right edge towards b, and the picture comes out mirrored: the
// cell's top edge faces the left side of the direction from b to a. Each part is
// therefore drawn here in a "pose frame" (y up, the rider facing +x, end a at
// (0, +48) and end b at (0, -48)) and mapped into its cell by PoseToCell, which is
// exactly the inverse of that drawing rule; the pose frame's 48 units become 40
// cell pixels, so a and b sit 40 pixels either side of the cell's middle. With
// halfW = halfH = 0.8 x the link's length, a and b land on the part's joint centres.
#include "canvas.h"
#include "rider_parts.h"
#include "sprites.h"
#include "style.h"

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>

namespace {

constexpr int kCell = 128;
constexpr double kPi = 3.14159265358979323846;
constexpr double kLine = 4.0; // outline width in cell pixels

constexpr uint32_t kSkin = 0xf6c8a0;
constexpr uint32_t kJacket = 0x2f6bd6;
constexpr uint32_t kJacketDark = 0x2455ad;
constexpr uint32_t kTrousers = 0x3a4658;
constexpr uint32_t kBoot = 0x5b3a21;
constexpr uint32_t kHat = 0xd9382a;
constexpr uint32_t kMitten = 0xd9382a;

void Outline(cairo_t* cr, uint32_t fill) {
    SetColour(cr, fill);
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, kLine);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

// A limb segment: a capsule between (0, y0) and (0, y1) of the given radius.
void Capsule(cairo_t* cr, double y0, double y1, double r) {
    const double top = std::fmax(y0, y1), bottom = std::fmin(y0, y1);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, top, r, 0, kPi);
    cairo_arc(cr, 0, bottom, r, kPi, 2 * kPi);
    cairo_close_path(cr);
}

void Circle(cairo_t* cr, double x, double y, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
}

// Pose frame (y up) to cell pixels: u = 64 - k y, v = 64 + k x with k = 40 / 48.
void PoseToCell(cairo_t* cr, int cell) {
    cairo_translate(cr, (cell % 4) * kCell, (cell / 4) * kCell);
    cairo_matrix_t m;
    cairo_matrix_init(&m, 0, 1, -1, 0, kCell / 2.0, kCell / 2.0);
    cairo_transform(cr, &m);
    cairo_scale(cr, 40.0 / 48.0, 40.0 / 48.0);
}

// Parts that lie along their direction of travel (sled, boards) are drawn with
// the travel direction along +x and the up side along +y, end a in front.
void Lengthwise(cairo_t* cr) {
    cairo_rotate(cr, kPi / 2);
}

void Face(cairo_t* cr) {
    Circle(cr, 0, 2, 38);
    Outline(cr, kSkin);
    Circle(cr, 20, 8, 4.5);
    SetColour(cr, kInk);
    cairo_fill(cr);
    cairo_move_to(cr, 34, 6); // nose
    cairo_curve_to(cr, 44, 2, 44, -6, 35, -8);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 3.5);
    cairo_stroke(cr);
    cairo_move_to(cr, 14, -18); // smile
    cairo_curve_to(cr, 20, -24, 28, -24, 33, -17);
    cairo_stroke(cr);
    Circle(cr, 22, -8, 5);
    SetColour(cr, 0xf29a86, 0.8);
    cairo_fill(cr);
}

void Head(cairo_t* cr) {
    Face(cr);
    // A knitted hat over the back and top, with a pompom.
    cairo_move_to(cr, -39, 4);
    cairo_curve_to(cr, -40, 40, -8, 52, 16, 44);
    cairo_curve_to(cr, 28, 40, 36, 30, 38, 18);
    cairo_close_path(cr);
    Outline(cr, kHat);
    cairo_move_to(cr, -38, 8);
    cairo_line_to(cr, 37, 22);
    SetColour(cr, kWhite);
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
    Circle(cr, -26, 46, 11);
    Outline(cr, kWhite);
    Circle(cr, -4, -2, 7); // ear
    Outline(cr, kSkin);
}

void HelmetHead(cairo_t* cr) {
    Face(cr);
    cairo_move_to(cr, -42, -6);
    cairo_curve_to(cr, -46, 40, -10, 54, 16, 46);
    cairo_curve_to(cr, 34, 40, 44, 28, 44, 14);
    cairo_line_to(cr, 12, 14);
    cairo_line_to(cr, 4, -6);
    cairo_close_path(cr);
    Outline(cr, kAccent);
    cairo_move_to(cr, 16, 18); // visor
    cairo_line_to(cr, 48, 18);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    cairo_move_to(cr, -30, 36);
    cairo_curve_to(cr, -18, 44, 0, 46, 12, 42);
    SetColour(cr, kWhite, 0.7);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
}

void Torso(cairo_t* cr) {
    RoundedRect(cr, -24, -58, 50, 112, 20);
    Outline(cr, kJacket);
    cairo_move_to(cr, 14, 40); // zip
    cairo_line_to(cr, 14, -46);
    SetColour(cr, kJacketDark);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_rectangle(cr, -24, -52, 50, 10); // hem
    SetColour(cr, kJacketDark);
    cairo_fill(cr);
    RoundedRect(cr, -26, 40, 54, 16, 8); // scarf
    Outline(cr, kHat);
    RoundedRect(cr, -24, -58, 50, 112, 20);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, kLine);
    cairo_stroke(cr);
}

void UpperArm(cairo_t* cr) {
    Capsule(cr, 48, -48, 14);
    Outline(cr, kJacket);
    cairo_move_to(cr, 6, 36);
    cairo_line_to(cr, 6, -36);
    SetColour(cr, kWhite, 0.35);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
}

void Mitten(cairo_t* cr, double y) {
    Circle(cr, 10, y - 4, 7); // thumb, on the front
    Outline(cr, kMitten);
    RoundedRect(cr, -14, y - 16, 28, 30, 12);
    Outline(cr, kMitten);
}

void Forearm(cairo_t* cr) {
    Capsule(cr, 48, -28, 12);
    Outline(cr, kJacket);
    RoundedRect(cr, -13, -34, 26, 10, 3); // cuff
    Outline(cr, kWhite);
    Mitten(cr, -46);
}

void Thigh(cairo_t* cr) {
    Capsule(cr, 48, -48, 18);
    Outline(cr, kTrousers);
    cairo_move_to(cr, 8, 38);
    cairo_line_to(cr, 8, -38);
    SetColour(cr, kWhite, 0.2);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
}

void Boot(cairo_t* cr, double y) {
    cairo_move_to(cr, -16, y + 16);
    cairo_line_to(cr, 12, y + 16);
    cairo_line_to(cr, 16, y + 4);
    cairo_curve_to(cr, 34, y + 4, 40, y - 2, 40, y - 10);
    cairo_line_to(cr, 40, y - 14);
    cairo_line_to(cr, -18, y - 14);
    cairo_close_path(cr);
    Outline(cr, kBoot);
    cairo_rectangle(cr, -18, y - 14, 58, 5); // sole
    SetColour(cr, kInk);
    cairo_fill(cr);
}

void Shin(cairo_t* cr) {
    Capsule(cr, 48, -36, 15);
    Outline(cr, kTrousers);
    Boot(cr, -46);
}

// The runners' underside lies 8.5 below the link (about the runner points' radius, so the
// sled stands on the line rather than in it); the deck's top carries the rider's hips.
void Sled(cairo_t* cr) {
    Lengthwise(cr);
    // Runners: a steel bar under the deck, curling up at the front (a, +x).
    cairo_move_to(cr, -56, -4);
    cairo_line_to(cr, 34, -4);
    cairo_curve_to(cr, 58, -4, 60, 24, 44, 26);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 9);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke_preserve(cr);
    SetColour(cr, 0xb8c0ca);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    for (double x : {-40.0, -8.0, 24.0}) {
        cairo_rectangle(cr, x - 4, -2, 8, 8);
        Outline(cr, kWood);
    }
    RoundedRect(cr, -60, 4, 100, 14, 6); // deck
    Outline(cr, kWood);
    cairo_move_to(cr, -52, 11);
    cairo_line_to(cr, 32, 11);
    SetColour(cr, 0x8a5327);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
}

void Wheel(cairo_t* cr) {
    Circle(cr, 0, 0, 56);
    SetColour(cr, kInk);
    cairo_fill(cr);
    Circle(cr, 0, 0, 44);
    SetColour(cr, 0xdfe4ea);
    cairo_fill(cr);
    SetColour(cr, kInkSoft);
    cairo_set_line_width(cr, 3);
    for (int i = 0; i < 12; ++i) {
        const double a = i * kPi / 6;
        cairo_move_to(cr, 6 * std::cos(a), 6 * std::sin(a));
        cairo_line_to(cr, 44 * std::cos(a), 44 * std::sin(a));
    }
    cairo_stroke(cr);
    Circle(cr, 0, 0, 10);
    Outline(cr, kAccent);
    Circle(cr, 0, 0, 50);
    SetColour(cr, 0x4a5566);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void ScarfTail(cairo_t* cr) {
    cairo_move_to(cr, -10, 50);
    cairo_curve_to(cr, -24, 20, 10, 0, -6, -30);
    cairo_line_to(cr, -16, -54);
    cairo_line_to(cr, 10, -46);
    cairo_curve_to(cr, 26, -14, -4, 14, 12, 50);
    cairo_close_path(cr);
    Outline(cr, kHat);
    for (double y : {-44.0, -36.0}) {
        cairo_move_to(cr, -12, y - 2);
        cairo_line_to(cr, 8, y + 4);
    }
    SetColour(cr, kWhite);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
}

// The board and its trucks; the wheels are the rider's own wheel points, drawn with the wheel
// cell over the ends of the trucks (at x = +-35, y = -13 for the pogo's board).
void Skateboard(cairo_t* cr) {
    Lengthwise(cr);
    for (double x : {-35.0, 35.0}) {
        cairo_move_to(cr, x - 9, 2);
        cairo_line_to(cr, x + 9, 2);
        cairo_line_to(cr, x + 3, -16);
        cairo_line_to(cr, x - 3, -16);
        cairo_close_path(cr);
        Outline(cr, 0xb8c0ca);
    }
    cairo_move_to(cr, -62, 12);
    cairo_curve_to(cr, -58, 2, -54, 0, -44, 0);
    cairo_line_to(cr, 44, 0);
    cairo_curve_to(cr, 54, 0, 58, 2, 62, 12);
    cairo_line_to(cr, 56, 14);
    cairo_curve_to(cr, 52, 8, 48, 8, 44, 8);
    cairo_line_to(cr, -44, 8);
    cairo_curve_to(cr, -48, 8, -52, 8, -56, 14);
    cairo_close_path(cr);
    Outline(cr, kAccent);
}

void Coil(cairo_t* cr) {
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 9);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // The coil starts short of end a, so on the pogo (a on the board) it stands on the top face.
    cairo_move_to(cr, 0, 36);
    for (int i = 0; i <= 8; ++i) cairo_line_to(cr, (i % 2 ? 20 : -20), 31 - i * 9);
    cairo_line_to(cr, 0, -48);
    cairo_stroke_preserve(cr);
    SetColour(cr, kGreen);
    cairo_set_line_width(cr, 4.5);
    cairo_stroke(cr);
}

// The cart's body: the crate in the middle half of the cell on a beam, with axle brackets
// reaching down and out to the wheel hubs (x = +-52, y = -70), which the wheels cover.
void Crate(cairo_t* cr) {
    Lengthwise(cr);
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, side * 30, -44);
        cairo_line_to(cr, side * 46, -44);
        cairo_line_to(cr, side * 56, -70);
        cairo_line_to(cr, side * 48, -70);
        cairo_close_path(cr);
        Outline(cr, 0xb8c0ca);
    }
    RoundedRect(cr, -58, -50, 116, 10, 3); // beam under the floor
    Outline(cr, 0x8a5327);
    cairo_rectangle(cr, -40, -40, 80, 80);
    Outline(cr, kWood);
    cairo_rectangle(cr, -31, -31, 62, 62);
    SetColour(cr, 0x8a5327);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_move_to(cr, -31, -31);
    cairo_line_to(cr, 31, 31);
    cairo_move_to(cr, -31, 31);
    cairo_line_to(cr, 31, -31);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
}

void RopePiece(cairo_t* cr) {
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 11);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 0, 48);
    cairo_line_to(cr, 0, -48);
    cairo_stroke(cr);
    SetColour(cr, 0xd8b67a);
    cairo_set_line_width(cr, 6);
    cairo_move_to(cr, 0, 48);
    cairo_line_to(cr, 0, -48);
    cairo_stroke(cr);
    SetColour(cr, 0x9c7a40);
    cairo_set_line_width(cr, 2);
    for (int i = 0; i < 12; ++i) {
        cairo_move_to(cr, -3, 44 - i * 8);
        cairo_line_to(cr, 3, 40 - i * 8);
    }
    cairo_stroke(cr);
}

void DrawPart(cairo_t* cr, int cell) {
    switch (cell) {
    case kRiderHead: Head(cr); break;
    case kRiderTorso: Torso(cr); break;
    case kRiderUpperArm: UpperArm(cr); break;
    case kRiderForearm: Forearm(cr); break;
    case kRiderThigh: Thigh(cr); break;
    case kRiderShin: Shin(cr); break;
    case kRiderSled: Sled(cr); break;
    case kRiderWheel: Wheel(cr); break;
    case kRiderHelmetHead: HelmetHead(cr); break;
    case kRiderScarf: ScarfTail(cr); break;
    case kRiderMitten: Mitten(cr, 0); break;
    case kRiderBoot: Boot(cr, 0); break;
    case kRiderSkateboard: Skateboard(cr); break;
    case kRiderCoil: Coil(cr); break;
    case kRiderCrate: Crate(cr); break;
    default: RopePiece(cr); break;
    }
}

// The sledder of the preview, in world units (y up), riding to the right.
struct PosePoint {
    double x, y;
};
struct PoseLink {
    int a, b, cell;
};
const PosePoint kPosePoints[] = {
    {60, 0},    // 0 sled front
    {-60, 0},   // 1 sled back
    {-28, 24},  // 2 hip
    {14, 42},   // 3 knee
    {46, 22},   // 4 ankle
    {-20, 84},  // 5 neck
    {-12, 128}, // 6 crown
    {6, 62},    // 7 elbow
    {40, 44},   // 8 hand
    {-58, 70},  // 9 scarf end
};
const PoseLink kPoseLinks[] = {
    {5, 9, kRiderScarf}, {0, 1, kRiderSled},      {2, 3, kRiderThigh},    {3, 4, kRiderShin},
    {5, 2, kRiderTorso}, {6, 5, kRiderHead},      {5, 7, kRiderUpperArm}, {7, 8, kRiderForearm},
};

// Draws one link's sprite exactly as the game does: centred on the link, turned
// to the direction from b to a, texture (0, 0) at (halfW, halfH) and (1, 1) at
// (-halfW, -halfH), with halfW = halfH = 0.8 x the link's length.
void DrawLinkSprite(cairo_t* cr, cairo_surface_t* sheet, const PosePoint& a, const PosePoint& b, int cell) {
    const double dx = a.x - b.x, dy = a.y - b.y;
    const double half = 0.8 * std::sqrt(dx * dx + dy * dy);
    cairo_save(cr);
    cairo_translate(cr, (a.x + b.x) / 2, (a.y + b.y) / 2);
    cairo_rotate(cr, std::atan2(dy, dx));
    cairo_translate(cr, half, half);
    cairo_scale(cr, -2 * half / kCell, -2 * half / kCell);
    cairo_set_source_surface(cr, sheet, -(cell % 4) * kCell, -(cell / 4) * kCell);
    cairo_rectangle(cr, 0, 0, kCell, kCell);
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace

bool MakeRiderPreview(const char* sheetPath, const char* previewPath) {
    cairo_surface_t* sheet = cairo_image_surface_create_from_png(sheetPath);
    if (cairo_surface_status(sheet) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(sheet);
        return false;
    }
    Canvas canvas = MakeCanvas(512, 384);
    cairo_t* cr = canvas.cr;
    SetColour(cr, kWhite);
    cairo_paint(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 3);
    cairo_move_to(cr, 0, 300);
    cairo_line_to(cr, 512, 340);
    cairo_stroke(cr);
    cairo_translate(cr, 256, 300);
    cairo_scale(cr, 1.6, -1.6); // world units, y up
    cairo_rotate(cr, -0.078);   // lying on the slope
    cairo_translate(cr, 0, 2);
    for (const PoseLink& link : kPoseLinks) DrawLinkSprite(cr, sheet, kPosePoints[link.a], kPosePoints[link.b], link.cell);
    cairo_surface_destroy(sheet);
    const char* slash = std::strrchr(previewPath, '/');
    std::string folder = slash ? std::string(previewPath, size_t(slash - previewPath)) : std::string(".");
    return SaveCanvas(canvas, folder.c_str(), slash ? slash + 1 : previewPath);
}

bool MakeRiderSheet(const char* folder) {
    Canvas canvas = MakeCanvas(4 * kCell, 4 * kCell);
    for (int cell = 0; cell < 16; ++cell) {
        cairo_save(canvas.cr);
        // 4-pixel transparent gutter around every cell for the mipmaps.
        cairo_rectangle(canvas.cr, (cell % 4) * kCell + 4, (cell / 4) * kCell + 4, kCell - 8, kCell - 8);
        cairo_clip(canvas.cr);
        PoseToCell(canvas.cr, cell);
        DrawPart(canvas.cr, cell);
        cairo_restore(canvas.cr);
    }
    return SaveCanvas(canvas, folder, "to.png");
}
