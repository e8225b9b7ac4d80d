#include "graphics/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

unsigned UploadTexture(const uint8_t* pixels, int width, int height, TextureFormat format, bool mipmaps) {
  GLenum layout = format == TextureFormat::Rgba ? GL_RGBA : GL_RGB;
  // RGB rows are width * 3 bytes with no padding, so the rows must be read byte-aligned.
  GLint alignment = 4;
  if (format == TextureFormat::Rgb) {
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  }
  GLboolean texturing = glIsEnabled(GL_TEXTURE_2D);
  glEnable(GL_TEXTURE_2D);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GLint(layout), width, height, 0, layout, GL_UNSIGNED_BYTE, pixels);
  if (mipmaps) gluBuild2DMipmaps(GL_TEXTURE_2D, format == TextureFormat::Rgba ? 4 : 3, width, height, layout,
                                 GL_UNSIGNED_BYTE, pixels);
  if (!texturing) glDisable(GL_TEXTURE_2D);
  if (format == TextureFormat::Rgb) glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  return name;
}

void DeleteTexture(unsigned name) {
  GLuint texture = name;
  if (texture != 0) glDeleteTextures(1, &texture);
}

int LargestTextureSize() {
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  return largest;
}
