// The drawing layer's GL side: one batch, drawn into the canvas with one
// draw call per flush.
//
// The vertices carry canvas pixels; the vertex shader turns them into clip
// space with y flipped, because GL counts framebuffer rows from the bottom
// while the canvas counts them from the top. Pixel centres then sit at
// (x + 0.5, y + 0.5) in canvas coordinates, so a shape covers the pixels
// whose centres it contains, with no half-pixel offset anywhere.
//
// Colour and alpha reach the fragment shader as normalised bytes through a
// flat varying, so every fragment of a shape outputs exactly component / 255
// and the blender sees the same 8-bit values the batch recorded.

#include "render/draw.h"

#include <cstddef>
#include <string>
#include <vector>

#include "render/canvas.h"
#include "render/gl.h"

namespace render {
namespace {

constexpr const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec4 color;
uniform vec2 pixelToClipScale;
uniform vec2 pixelToClipOffset;
flat out vec4 shapeColor;
void main() {
  gl_Position = vec4(position * pixelToClipScale + pixelToClipOffset, 0.0, 1.0);
  shapeColor = color;
}
)";

constexpr const char* kFragmentShader = R"(#version 330 core
flat in vec4 shapeColor;
out vec4 fragColor;
void main() {
  fragColor = shapeColor;
}
)";

struct GlObjects {
  bool ready = false;
  GLuint program = 0;
  GLuint vertexArray = 0;
  GLuint vertexBuffer = 0;
  GLuint indexBuffer = 0;
  GLint scaleLocation = -1;
  GLint offsetLocation = -1;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

GlObjects objects;
DrawBatch batch;

std::string ShaderLog(GLuint shader) {
  GLint length = 0;
  gl::GetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
  std::vector<GLchar> log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
  gl::GetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
  return log.data();
}

std::string ProgramLog(GLuint program) {
  GLint length = 0;
  gl::GetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
  std::vector<GLchar> log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
  gl::GetProgramInfoLog(program, static_cast<GLsizei>(log.size()), nullptr, log.data());
  return log.data();
}

GLuint CompileShader(GLenum type, const char* source, const char* what, std::string* error) {
  const GLuint shader = gl::CreateShader(type);
  gl::ShaderSource(shader, 1, &source, nullptr);
  gl::CompileShader(shader);
  GLint compiled = GL_FALSE;
  gl::GetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled != GL_TRUE) {
    if (error) *error = std::string("the ") + what + " shader does not compile: " + ShaderLog(shader);
    gl::DeleteShader(shader);
    return 0;
  }
  return shader;
}

bool BuildProgram(std::string* error) {
  const GLuint vertex = CompileShader(GL_VERTEX_SHADER, kVertexShader, "vertex", error);
  if (vertex == 0) return false;
  const GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader, "fragment", error);
  if (fragment == 0) {
    gl::DeleteShader(vertex);
    return false;
  }
  objects.program = gl::CreateProgram();
  gl::AttachShader(objects.program, vertex);
  gl::AttachShader(objects.program, fragment);
  gl::LinkProgram(objects.program);
  // The program keeps what it needs; the shaders go once it is linked.
  gl::DeleteShader(vertex);
  gl::DeleteShader(fragment);
  GLint linked = GL_FALSE;
  gl::GetProgramiv(objects.program, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    if (error) *error = "the drawing program does not link: " + ProgramLog(objects.program);
    return false;
  }
  objects.scaleLocation = gl::GetUniformLocation(objects.program, "pixelToClipScale");
  objects.offsetLocation = gl::GetUniformLocation(objects.program, "pixelToClipOffset");
  return true;
}

// Sets every piece of GL state the draw depends on, whatever the canvas,
// the present or anyone else left bound, then draws the batch.
void DrawBatchWithGl(const DrawBatch& recorded, void*) {
  if (!objects.ready) return;
  const auto vertices = recorded.vertices();
  const auto indices = recorded.indices();

  gl::BindFramebuffer(GL_FRAMEBUFFER, CanvasFramebuffer());
  gl::Viewport(0, 0, objects.width, objects.height);
  gl::Disable(GL_DEPTH_TEST);
  gl::Disable(GL_STENCIL_TEST);
  gl::Disable(GL_SCISSOR_TEST);
  gl::Disable(GL_CULL_FACE);
  gl::Enable(GL_BLEND);
  gl::BlendEquation(GL_FUNC_ADD);
  if (recorded.blendMode() == kBlendAdditive) {
    gl::BlendFunc(GL_SRC_ALPHA, GL_ONE);
  } else {
    gl::BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }

  gl::UseProgram(objects.program);
  // x: 0..width to -1..1; y: 0..height to 1..-1, the flip between canvas
  // rows (top first) and GL rows (bottom first).
  gl::Uniform2f(objects.scaleLocation, 2.0f / static_cast<float>(objects.width),
                -2.0f / static_cast<float>(objects.height));
  gl::Uniform2f(objects.offsetLocation, -1.0f, 1.0f);

  gl::BindVertexArray(objects.vertexArray);
  gl::BindBuffer(GL_ARRAY_BUFFER, objects.vertexBuffer);
  gl::BufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(vertices.size_bytes()),
                    vertices.data());
  gl::BindBuffer(GL_ELEMENT_ARRAY_BUFFER, objects.indexBuffer);
  gl::BufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(indices.size_bytes()),
                    indices.data());
  gl::DrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT, nullptr);
}

}  // namespace

bool InitDrawing(std::int32_t width, std::int32_t height, std::string* error) {
  ShutdownDrawing();
  if (width <= 0 || height <= 0) {
    if (error) *error = "the drawing area is empty";
    return false;
  }
  if (!BuildProgram(error)) {
    ShutdownDrawing();
    return false;
  }
  gl::GenVertexArrays(1, &objects.vertexArray);
  gl::GenBuffers(1, &objects.vertexBuffer);
  gl::GenBuffers(1, &objects.indexBuffer);
  gl::BindVertexArray(objects.vertexArray);
  gl::BindBuffer(GL_ARRAY_BUFFER, objects.vertexBuffer);
  gl::BindBuffer(GL_ELEMENT_ARRAY_BUFFER, objects.indexBuffer);
  // Storage for a full batch, made once: reallocating it at every flush
  // costs a software rasteriser more than the drawing.
  const auto capacity = static_cast<GLsizeiptr>(batch.capacity());
  gl::BufferData(GL_ARRAY_BUFFER, capacity * static_cast<GLsizeiptr>(sizeof(Vertex)), nullptr,
                 GL_STREAM_DRAW);
  gl::BufferData(GL_ELEMENT_ARRAY_BUFFER,
                 3 * capacity * static_cast<GLsizeiptr>(sizeof(VertexIndex)), nullptr,
                 GL_STREAM_DRAW);
  gl::EnableVertexAttribArray(0);
  gl::VertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<const void*>(offsetof(Vertex, x)));
  gl::EnableVertexAttribArray(1);
  gl::VertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                          reinterpret_cast<const void*>(offsetof(Vertex, r)));
  gl::BindVertexArray(0);

  if (const GLenum status = gl::GetError(); status != GL_NO_ERROR) {
    if (error) *error = "GL error " + std::to_string(status) + " while setting up drawing";
    ShutdownDrawing();
    return false;
  }
  objects.width = width;
  objects.height = height;
  objects.ready = true;
  batch.SetSink(DrawBatchWithGl, nullptr);
  return true;
}

void ShutdownDrawing() {
  batch.Discard();
  if (objects.vertexArray != 0) gl::DeleteVertexArrays(1, &objects.vertexArray);
  if (objects.vertexBuffer != 0) gl::DeleteBuffers(1, &objects.vertexBuffer);
  if (objects.indexBuffer != 0) gl::DeleteBuffers(1, &objects.indexBuffer);
  if (objects.program != 0) gl::DeleteProgram(objects.program);
  objects = GlObjects{};
}

void ResetDrawState() { batch.ResetState(); }
void SetBlendMode(std::int32_t mode) { batch.SetBlendMode(mode); }
void SetAlpha(float alpha) { batch.SetAlpha(alpha); }
void SetColor(std::int32_t red, std::int32_t green, std::int32_t blue) {
  batch.SetColor(red, green, blue);
}
void DrawRect(float x, float y, float width, float height) { batch.AddRect(x, y, width, height); }
void DrawOval(float x, float y, float width, float height) { batch.AddOval(x, y, width, height); }
void DrawText(std::string_view text, float x, float y) { batch.AddText(text, x, y); }
void Flush() { batch.Flush(); }

const DrawBatch& CurrentBatch() { return batch; }
void DiscardBatch() { batch.Discard(); }

}  // namespace render
