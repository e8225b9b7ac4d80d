// font.png: the bitmap font. 16 x 16 cells of 32 x 32 pixels, glyph c in column
// c % 16 and row c / 16 (row 0 at the top), white on transparent. The game
// advances one whole cell per character, so every glyph is centred in its cell
// and the cell's free columns are its side bearings. Codes 0-32 and 127-160 stay
// blank; 33-126 are ASCII and 161-255 Latin-1, from DejaVu Sans Mono Bold widened
// a little so that the fixed square advance does not leave wide gaps.
#include "canvas.h"
#include "sprites.h"
#include "style.h"

#include <cmath>

namespace {

constexpr int kCell = 32;          // pixels per cell
constexpr double kEm = 28.0;       // font size in pixels
constexpr double kWiden = 1.50;    // horizontal stretch of each glyph
constexpr double kBaseline = 24.0; // from the cell top: caps reach ~4, descenders ~30

bool HasGlyph(int code) {
    return (code > 32 && code < 127) || (code > 160 && code < 256);
}

// Latin-1 code to UTF-8, the encoding cairo's text calls take.
void EncodeLatin1(int code, char out[3]) {
    if (code < 128) {
        out[0] = char(code);
        out[1] = 0;
    } else {
        out[0] = char(0xc0 | (code >> 6));
        out[1] = char(0x80 | (code & 63));
        out[2] = 0;
    }
}

// Some Latin-1 glyphs (accented capitals, fractions, the cedilla) are taller or
// wider than the cell; they are shrunk about the baseline so that every glyph
// keeps a pixel of transparent gutter and no cell bleeds into its neighbours.
double FitInCell(const cairo_text_extents_t& ink, double advance) {
    constexpr double kMargin = 1.5;
    double fit = 1.0;
    const double above = -ink.y_bearing;            // ink height over the baseline
    const double below = ink.y_bearing + ink.height; // ink depth under it
    if (above > kBaseline - kMargin) fit = std::fmin(fit, (kBaseline - kMargin) / above);
    if (below > kCell - kBaseline - kMargin) fit = std::fmin(fit, (kCell - kBaseline - kMargin) / below);
    const double left = (ink.x_bearing - advance / 2) * kWiden;
    const double right = (ink.x_bearing + ink.width - advance / 2) * kWiden;
    const double halfSpan = std::fmax(-left, right);
    if (halfSpan > kCell / 2.0 - kMargin) fit = std::fmin(fit, (kCell / 2.0 - kMargin) / halfSpan);
    return fit;
}

} // namespace

bool MakeFont(const char* folder) {
    Canvas canvas = MakeCanvas(16 * kCell, 16 * kCell);
    cairo_t* cr = canvas.cr;
    UseFace(cr, Face::MonoBold, kEm);
    SetColour(cr, kWhite);
    for (int code = 0; code < 256; ++code) {
        if (!HasGlyph(code)) continue;
        char text[3];
        EncodeLatin1(code, text);
        const double advance = TextWidth(cr, text);
        cairo_text_extents_t ink;
        cairo_text_extents(cr, text, &ink);
        const double fit = FitInCell(ink, advance);
        cairo_save(cr);
        cairo_translate(cr, (code % 16) * kCell + kCell / 2.0, (code / 16) * kCell + kBaseline);
        cairo_scale(cr, kWiden * fit, fit);
        DrawText(cr, -advance / 2, 0, text);
        cairo_restore(cr);
    }
    return SaveCanvas(canvas, folder, "font.png");
}
