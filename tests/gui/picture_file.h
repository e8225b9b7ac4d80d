// RGB pictures written with libpng into a test's folder, so the colour picker reads a file it
// did not make itself.
#pragma once
#include <png.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/libpng_reference.h"
#include "support/temp_folder.h"

// Writes name in folder and returns its path; colour(row, col) is each pixel, row 0 at the top.
inline std::string WritePicture(const TempFolder& folder, const std::string& name, int width, int height,
                                const std::function<std::array<uint8_t, 3>(int row, int col)>& colour) {
  std::vector<std::vector<uint8_t>> rows(height, std::vector<uint8_t>(width * 3));
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col)
      for (int channel = 0; channel < 3; ++channel) rows[row][col * 3 + channel] = colour(row, col)[channel];
  LibpngRecipe recipe;
  recipe.width = uint32_t(width);
  recipe.height = uint32_t(height);
  recipe.colourType = PNG_COLOR_TYPE_RGB;
  const std::vector<uint8_t> png = LibpngEncode(recipe, rows);
  folder.write(name, std::string(png.begin(), png.end()));
  return folder.file(name);
}
