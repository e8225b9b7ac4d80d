// Drawing surface and shared helpers of the sprite generator.
#pragma once

#include <cairo.h>

#include <cstdint>

// One RGBA picture being drawn; cairo's surface holds it premultiplied.
struct Canvas {
    cairo_surface_t* surface = nullptr; // owned
    cairo_t* cr = nullptr;              // owned
    int width = 0;                      // pixels
    int height = 0;                     // pixels
};

// The typefaces the art uses (DejaVu, loaded from the system's font folder).
enum class Face { MonoBold, Sans, SansBold, Count };

Canvas MakeCanvas(int width, int height);                                  // transparent; aborts when cairo fails
bool SaveCanvas(Canvas& canvas, const char* folder, const char* fileName); // writes folder/fileName as 8-bit RGBA PNG and frees the canvas; false on failure
void FreeCanvas(Canvas& canvas);                                           // frees without writing

void SetColour(cairo_t* cr, uint32_t rgb, double alpha = 1.0);           // 0xRRGGBB
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r); // path only
bool LoadFaces();                                                        // false when a DejaVu file is missing
void UseFace(cairo_t* cr, Face face, double pixelSize);                  // selects the face at that em size
void DrawText(cairo_t* cr, double x, double baseline, const char* utf8); // left-aligned at the current point
void DrawTextCentred(cairo_t* cr, double cx, double baseline, const char* utf8);
double TextWidth(cairo_t* cr, const char* utf8);                         // advance in pixels
