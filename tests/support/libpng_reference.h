// libpng as the reference the PNG decoder is checked and timed against: files are written to
// and read from memory, and decoded the way the game's decoder delivers pixels.
#pragma once
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <vector>

// png_set_write_fn target: appends to the std::vector<uint8_t> given as the io pointer.
inline void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

struct MemoryReader {
  const std::vector<uint8_t>* bytes;
  size_t at;
};

// png_set_read_fn source: reads from a MemoryReader given as the io pointer.
inline void ReadFromVector(png_structp png, png_bytep data, png_size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (reader->at + length > reader->bytes->size()) png_error(png, "read past the end");
  memcpy(data, reader->bytes->data() + reader->at, length);
  reader->at += length;
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
  MemoryReader reader{&file, 0};
  png_set_read_fn(png, &reader, ReadFromVector);
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
