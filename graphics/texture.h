// Texture upload: the one place pixels become a GL texture. Every loader's texture is made here
// with linear filtering; the caller says the pixel layout and whether a mipmap chain is built.
#pragma once
#include <cstdint>

enum class TextureFormat {
  Rgb,                                            // 3 bytes per pixel, rows not padded
  Rgba,                                           // 4 bytes per pixel
};

// Uploads width x height pixels (first row first) into a new texture and leaves it bound; 2D
// texturing is switched on for the upload and left as the caller had it. With mipmaps the minifying filter is GL_LINEAR_MIPMAP_NEAREST over a chain
// built by gluBuild2DMipmaps, else GL_LINEAR. Returns the texture name (0 when GL made none).
unsigned UploadTexture(const uint8_t* pixels, int width, int height, TextureFormat format, bool mipmaps);
void DeleteTexture(unsigned name);                // 0 is ignored
int LargestTextureSize();                         // GL_MAX_TEXTURE_SIZE in pixels; 0 without a device
