// Pictograms shared by the button sheet, the cursors and the explanation pictures.
// Each draws into a 64 x 64 box at the origin of the current cairo transform
// (scale the transform for other sizes); strokes are kPen wide in that box.
#pragma once

#include <cairo.h>

constexpr double kPen = 5.0;

void DrawTile(cairo_t* cr);                      // the raised button face every icon sits on
void DrawButtonFrame(cairo_t* cr, int frame);    // one frame of buttons1.png, tile included; unknown frames draw nothing

void IconPencil(cairo_t* cr, unsigned bodyColour); // pencil with its tip at (13, 51), pointing to the lower left
void IconHand(cairo_t* cr);                      // open palm
void IconMagnifier(cairo_t* cr, bool plus);      // lens centred on (27, 27), handle to the lower right
void IconEraser(cairo_t* cr);                    // tilted rubber centred on (33, 33)
void IconFlag(cairo_t* cr, double x, double y, double scale); // pole foot at (x, y)
void IconPoint(cairo_t* cr, double x, double y, double r, unsigned fill); // a rider mass point
