// buttons1.png: the toolbars' button sheet, 8 x 8 frames of 64 x 64 pixels
// (drawn at 20 to 40 pixels with mipmaps; every frame keeps a 1-3 pixel
// transparent gutter so that the smaller mipmap levels do not bleed).
#include "canvas.h"
#include "icons.h"
#include "sprites.h"

bool MakeButtons(const char* folder) {
    constexpr int kCell = 64;
    Canvas canvas = MakeCanvas(8 * kCell, 8 * kCell);
    for (int frame = 0; frame < 64; ++frame) {
        cairo_save(canvas.cr);
        cairo_rectangle(canvas.cr, (frame % 8) * kCell, (frame / 8) * kCell, kCell, kCell);
        cairo_clip(canvas.cr);
        cairo_translate(canvas.cr, (frame % 8) * kCell, (frame / 8) * kCell);
        DrawButtonFrame(canvas.cr, frame);
        cairo_restore(canvas.cr);
    }
    return SaveCanvas(canvas, folder, "buttons1.png");
}
