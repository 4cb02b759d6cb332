#include "render/canvas.h"

#include <algorithm>

#include "render/draw.h"
#include "render/gl.h"

namespace render {
namespace {

struct Canvas {
  GLuint framebuffer = 0;
  GLuint texture = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

Canvas canvas;

}  // namespace

bool CreateCanvas(std::int32_t width, std::int32_t height, std::string* error) {
  DestroyCanvas();
  gl::GenTextures(1, &canvas.texture);
  gl::BindTexture(GL_TEXTURE_2D, canvas.texture);
  gl::TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  gl::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  gl::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  gl::GenFramebuffers(1, &canvas.framebuffer);
  gl::BindFramebuffer(GL_FRAMEBUFFER, canvas.framebuffer);
  gl::FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, canvas.texture, 0);
  if (gl::CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    if (error) *error = "the canvas framebuffer is incomplete";
    DestroyCanvas();
    return false;
  }
  canvas.width = width;
  canvas.height = height;
  gl::Viewport(0, 0, width, height);
  return true;
}

void DestroyCanvas() {
  if (canvas.framebuffer != 0) {
    gl::BindFramebuffer(GL_FRAMEBUFFER, 0);
    gl::DeleteFramebuffers(1, &canvas.framebuffer);
  }
  if (canvas.texture != 0) gl::DeleteTextures(1, &canvas.texture);
  canvas = Canvas{};
}

std::int32_t CanvasWidth() { return canvas.width; }
std::int32_t CanvasHeight() { return canvas.height; }
std::uint32_t CanvasFramebuffer() { return canvas.framebuffer; }

void ClearCanvas() {
  Flush();
  gl::BindFramebuffer(GL_FRAMEBUFFER, canvas.framebuffer);
  gl::ClearColor(0, 0, 0, 1);
  gl::Clear(GL_COLOR_BUFFER_BIT);
}

void CopyCanvasToWindow() {
  Flush();
  gl::BindFramebuffer(GL_READ_FRAMEBUFFER, canvas.framebuffer);
  gl::BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  gl::BlitFramebuffer(0, 0, canvas.width, canvas.height, 0, 0, canvas.width, canvas.height,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
  gl::BindFramebuffer(GL_FRAMEBUFFER, canvas.framebuffer);
}

std::vector<std::uint8_t> ReadCanvas(std::int32_t x, std::int32_t y, std::int32_t width,
                                     std::int32_t height) {
  Flush();
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(width) * height * 4);
  if (width <= 0 || height <= 0) return rows;
  std::vector<std::uint8_t> upsideDown(rows.size());
  gl::BindFramebuffer(GL_FRAMEBUFFER, canvas.framebuffer);
  gl::PixelStorei(GL_PACK_ALIGNMENT, 1);
  // GL counts rows from the bottom; the canvas counts them from the top.
  gl::ReadPixels(x, canvas.height - y - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                 upsideDown.data());
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  for (std::int32_t row = 0; row < height; ++row) {
    const std::uint8_t* from = upsideDown.data() + stride * (height - 1 - row);
    std::copy(from, from + stride, rows.data() + stride * row);
  }
  return rows;
}

}  // namespace render
