#include "canvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const char* const kFacePaths[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
};

// The loaded typefaces; filled by LoadFaces at start and kept until the process ends
// (cairo may hold on to a face in its caches, so the FreeType faces are never closed early).
struct FaceState {
    FT_Library library = nullptr;
    FT_Face ftFaces[int(Face::Count)] = {};
    cairo_font_face_t* faces[int(Face::Count)] = {};
};
FaceState g_faces;

// cairo keeps colour premultiplied by alpha; a PNG wants it straight.
uint8_t Unpremultiply(uint32_t channel, uint32_t alpha) {
    if (alpha == 0) return 0;
    uint32_t v = (channel * 255 + alpha / 2) / alpha;
    return uint8_t(v > 255 ? 255 : v);
}

bool WritePng(const char* path, const std::vector<uint8_t>& rgba, int width, int height) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rgba.data() + size_t(y) * size_t(width) * 4);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

} // namespace

Canvas MakeCanvas(int width, int height) {
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    canvas.cr = cairo_create(canvas.surface);
    if (cairo_status(canvas.cr) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "make-sprites: cairo cannot make a %dx%d surface\n", width, height);
        std::exit(1);
    }
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(canvas.cr, options);
    cairo_font_options_destroy(options);
    return canvas;
}

void FreeCanvas(Canvas& canvas) {
    if (canvas.cr) cairo_destroy(canvas.cr);
    if (canvas.surface) cairo_surface_destroy(canvas.surface);
    canvas = Canvas{};
}

bool SaveCanvas(Canvas& canvas, const char* folder, const char* fileName) {
    cairo_surface_flush(canvas.surface);
    const int stride = cairo_image_surface_get_stride(canvas.surface);
    const uint8_t* data = cairo_image_surface_get_data(canvas.surface);
    std::vector<uint8_t> rgba(size_t(canvas.width) * size_t(canvas.height) * 4);
    for (int y = 0; y < canvas.height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
        for (int x = 0; x < canvas.width; ++x) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            uint8_t* out = &rgba[(size_t(y) * size_t(canvas.width) + size_t(x)) * 4];
            out[0] = Unpremultiply((p >> 16) & 255, a);
            out[1] = Unpremultiply((p >> 8) & 255, a);
            out[2] = Unpremultiply(p & 255, a);
            out[3] = uint8_t(a);
        }
    }
    char path[1024];
    std::snprintf(path, sizeof path, "%s/%s", folder, fileName);
    const bool ok = WritePng(path, rgba, canvas.width, canvas.height);
    std::printf("%s %dx%d%s\n", path, canvas.width, canvas.height, ok ? "" : " FAILED");
    FreeCanvas(canvas);
    return ok;
}

void SetColour(cairo_t* cr, uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    const double pi = 3.14159265358979323846;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

bool LoadFaces() {
    if (FT_Init_FreeType(&g_faces.library) != 0) return false;
    for (int i = 0; i < int(Face::Count); ++i) {
        if (FT_New_Face(g_faces.library, kFacePaths[i], 0, &g_faces.ftFaces[i]) != 0) {
            std::fprintf(stderr, "make-sprites: cannot open font %s\n", kFacePaths[i]);
            return false;
        }
        g_faces.faces[i] = cairo_ft_font_face_create_for_ft_face(g_faces.ftFaces[i], 0);
    }
    return true;
}

void UseFace(cairo_t* cr, Face face, double pixelSize) {
    cairo_set_font_face(cr, g_faces.faces[int(face)]);
    cairo_set_font_size(cr, pixelSize);
}

void DrawText(cairo_t* cr, double x, double baseline, const char* utf8) {
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, utf8);
}

double TextWidth(cairo_t* cr, const char* utf8) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, utf8, &extents);
    return extents.x_advance;
}

void DrawTextCentred(cairo_t* cr, double cx, double baseline, const char* utf8) {
    DrawText(cr, cx - TextWidth(cr, utf8) / 2, baseline, utf8);
}
