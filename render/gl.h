// The OpenGL 3.3 core entry points the program uses, and nothing more.
//
// The table is filled once from a getProcAddress function that the platform
// layer hands over (SDL's on Linux, WGL's on Windows, EGL's in tests), so no
// code here links against a GL library or knows which window system made the
// context. Call through the table as gl::Clear(...), gl::DrawArrays(...).
#pragma once

#include <GL/glcorearb.h>

// On Windows glcorearb.h brings in <windows.h>, whose DrawText macro would
// rename render::DrawText in the files that include this header only.
#undef DrawText

namespace gl {

using GetProcAddress = void* (*)(const char* name);

// Each row: return type, name without the "gl" prefix, parameter list.
#define GRAVITY_GL_FUNCTIONS(X)                                                              \
  X(void, ActiveTexture, (GLenum texture))                                                   \
  X(void, AttachShader, (GLuint program, GLuint shader))                                     \
  X(void, BindBuffer, (GLenum target, GLuint buffer))                                        \
  X(void, BindFramebuffer, (GLenum target, GLuint framebuffer))                              \
  X(void, BindTexture, (GLenum target, GLuint texture))                                      \
  X(void, BindVertexArray, (GLuint array))                                                   \
  X(void, BlendEquation, (GLenum mode))                                                      \
  X(void, BlendFunc, (GLenum sfactor, GLenum dfactor))                                       \
  X(void, BlitFramebuffer, (GLint srcX0, GLint srcY0, GLint srcX1, GLint srcY1, GLint dstX0, \
                            GLint dstY0, GLint dstX1, GLint dstY1, GLbitfield mask,          \
                            GLenum filter))                                                  \
  X(void, BufferData, (GLenum target, GLsizeiptr size, const void* data, GLenum usage))      \
  X(void, BufferSubData, (GLenum target, GLintptr offset, GLsizeiptr size, const void* data)) \
  X(GLenum, CheckFramebufferStatus, (GLenum target))                                         \
  X(void, Clear, (GLbitfield mask))                                                          \
  X(void, ClearColor, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha))             \
  X(void, CompileShader, (GLuint shader))                                                    \
  X(GLuint, CreateProgram, (void))                                                           \
  X(GLuint, CreateShader, (GLenum type))                                                     \
  X(void, DeleteBuffers, (GLsizei n, const GLuint* buffers))                                 \
  X(void, DeleteFramebuffers, (GLsizei n, const GLuint* framebuffers))                       \
  X(void, DeleteProgram, (GLuint program))                                                   \
  X(void, DeleteShader, (GLuint shader))                                                     \
  X(void, DeleteTextures, (GLsizei n, const GLuint* textures))                               \
  X(void, DeleteVertexArrays, (GLsizei n, const GLuint* arrays))                             \
  X(void, Disable, (GLenum cap))                                                             \
  X(void, DrawArrays, (GLenum mode, GLint first, GLsizei count))                             \
  X(void, DrawElements, (GLenum mode, GLsizei count, GLenum type, const void* indices))     \
  X(void, Enable, (GLenum cap))                                                              \
  X(void, EnableVertexAttribArray, (GLuint index))                                           \
  X(void, Finish, (void))                                                                    \
  X(void, FramebufferTexture2D, (GLenum target, GLenum attachment, GLenum textarget,         \
                                 GLuint texture, GLint level))                               \
  X(void, GenBuffers, (GLsizei n, GLuint * buffers))                                         \
  X(void, GenFramebuffers, (GLsizei n, GLuint * framebuffers))                               \
  X(void, GenTextures, (GLsizei n, GLuint * textures))                                       \
  X(void, GenVertexArrays, (GLsizei n, GLuint * arrays))                                     \
  X(GLenum, GetError, (void))                                                                \
  X(void, GetProgramInfoLog, (GLuint program, GLsizei bufSize, GLsizei* length,              \
                              GLchar* infoLog))                                              \
  X(void, GetProgramiv, (GLuint program, GLenum pname, GLint* params))                       \
  X(void, GetShaderInfoLog, (GLuint shader, GLsizei bufSize, GLsizei* length,                \
                             GLchar* infoLog))                                               \
  X(void, GetShaderiv, (GLuint shader, GLenum pname, GLint* params))                         \
  X(const GLubyte*, GetString, (GLenum name))                                                \
  X(GLint, GetUniformLocation, (GLuint program, const GLchar* name))                         \
  X(void, LinkProgram, (GLuint program))                                                     \
  X(void, PixelStorei, (GLenum pname, GLint param))                                          \
  X(void, ReadPixels, (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,       \
                       GLenum type, void* pixels))                                           \
  X(void, ShaderSource, (GLuint shader, GLsizei count, const GLchar* const* string,          \
                         const GLint* length))                                               \
  X(void, TexImage2D, (GLenum target, GLint level, GLint internalformat, GLsizei width,      \
                       GLsizei height, GLint border, GLenum format, GLenum type,             \
                       const void* pixels))                                                  \
  X(void, TexParameteri, (GLenum target, GLenum pname, GLint param))                         \
  X(void, Uniform2f, (GLint location, GLfloat v0, GLfloat v1))                               \
  X(void, UseProgram, (GLuint program))                                                      \
  X(void, VertexAttribPointer, (GLuint index, GLint size, GLenum type, GLboolean normalized, \
                                GLsizei stride, const void* pointer))                        \
  X(void, Viewport, (GLint x, GLint y, GLsizei width, GLsizei height))

#define GRAVITY_GL_DECLARE(ret, name, params) \
  using name##Fn = ret(APIENTRY*) params;      \
  extern name##Fn name;
GRAVITY_GL_FUNCTIONS(GRAVITY_GL_DECLARE)
#undef GRAVITY_GL_DECLARE

// Fills the table. Returns nullptr on success, else the name of the first
// entry point the driver does not supply.
const char* Load(GetProcAddress getProcAddress);

}  // namespace gl
