// libpng as the reference the PNG decoder is checked and timed against, and the reader of the
// committed sprites: files are written to and read from memory, and decoded the way the game's
// decoder delivers pixels.
#pragma once
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <vector>

// What libpng is asked to write: the header fields, its filter and zlib choices, and the
// optional palette, palette alphas and an all-zero tRNS colour key (grey and RGB only).
struct LibpngRecipe {
  uint32_t width = 1;                             // pixels
  uint32_t height = 1;                            // pixels
  int colourType = PNG_COLOR_TYPE_RGBA;
  int depth = 8;                                  // bits per sample
  bool interlace = false;                         // Adam7
  int filters = PNG_ALL_FILTERS;                  // PNG_FILTER_* mask libpng chooses from
  int level = Z_DEFAULT_COMPRESSION;              // 0 = stored blocks
  int strategy = Z_DEFAULT_STRATEGY;
  std::vector<png_color> palette;                 // colour type 3
  std::vector<png_byte> paletteAlphas;            // tRNS for a palette; may be shorter
  bool zeroKey = false;                           // tRNS key colour 0
};

// libpng's file for rows (packed samples without filter bytes, top row first; libpng may
// change them while it writes). Empty when libpng refuses the recipe.
inline std::vector<uint8_t> LibpngEncode(const LibpngRecipe& recipe, std::vector<std::vector<uint8_t>>& rows) {
  std::vector<uint8_t> file;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &file, [](png_structp p, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
    out->insert(out->end(), data, data + length);
  }, nullptr);
  png_set_IHDR(png, info, recipe.width, recipe.height, recipe.depth, recipe.colourType,
               recipe.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, recipe.filters);
  png_set_compression_level(png, recipe.level);
  png_set_compression_strategy(png, recipe.strategy);
  if (!recipe.palette.empty()) png_set_PLTE(png, info, recipe.palette.data(), int(recipe.palette.size()));
  if (!recipe.paletteAlphas.empty())
    png_set_tRNS(png, info, recipe.paletteAlphas.data(), int(recipe.paletteAlphas.size()), nullptr);
  png_color_16 key{};
  if (recipe.zeroKey) png_set_tRNS(png, info, nullptr, 0, &key);
  png_write_info(png, info);
  std::vector<png_bytep> pointers;
  for (std::vector<uint8_t>& row : rows) pointers.push_back(row.data());
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return file;
}

// libpng's decoding of file expanded to 8-bit RGBA rows, top row first: palettes and low depths
// expanded, tRNS turned into alpha, 16-bit samples cut to their high byte. False when libpng
// refuses the file or its rows do not come out 4 bytes a pixel.
inline bool LibpngDecodeRgba(const std::vector<uint8_t>& file, std::vector<uint8_t>* pixels, uint32_t* width,
                             uint32_t* height) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  struct { const std::vector<uint8_t>* bytes; size_t at; } reader{&file, 0};
  png_set_read_fn(png, &reader, [](png_structp p, png_bytep data, png_size_t length) {
    auto* from = static_cast<decltype(reader)*>(png_get_io_ptr(p));
    if (from->at + length > from->bytes->size()) png_error(p, "read past the end");
    memcpy(data, from->bytes->data() + from->at, length);
    from->at += length;
  });
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  if (png_get_rowbytes(png, info) != size_t(*width) * 4) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  pixels->resize(size_t(*width) * *height * 4);
  std::vector<png_bytep> rows(*height);
  for (uint32_t y = 0; y < *height; ++y) rows[y] = pixels->data() + size_t(y) * *width * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}
