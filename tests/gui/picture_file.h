// Pictures written with libpng into a test's folder, so the code under test reads a file it did
// not make itself.
#pragma once
#include <png.h>

#include <array>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "support/libpng_reference.h"
#include "support/temp_folder.h"

// Writes name in folder and returns its path; colour(row, col) is each pixel, row 0 at the top,
// as a std::array of 3 (RGB) or 4 (RGBA) samples.
template <typename Colour>
std::string WritePicture(const TempFolder& folder, const std::string& name, int width, int height, Colour colour) {
  constexpr size_t kChannels = std::tuple_size_v<decltype(colour(0, 0))>;
  std::vector<std::vector<uint8_t>> rows(height, std::vector<uint8_t>(width * kChannels));
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col)
      for (size_t channel = 0; channel < kChannels; ++channel) rows[row][col * kChannels + channel] = colour(row, col)[channel];
  LibpngRecipe recipe;
  recipe.width = uint32_t(width);
  recipe.height = uint32_t(height);
  recipe.colourType = kChannels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
  const std::vector<uint8_t> png = LibpngEncode(recipe, rows);
  folder.write(name, std::string(png.begin(), png.end()));
  return folder.file(name);
}
