#include "render/gl.h"

namespace gl {

#define GRAVITY_GL_DEFINE(ret, name, params) name##Fn name = nullptr;
GRAVITY_GL_FUNCTIONS(GRAVITY_GL_DEFINE)
#undef GRAVITY_GL_DEFINE

const char* Load(GetProcAddress getProcAddress) {
#define GRAVITY_GL_LOAD(ret, name, params)                                   \
  name = reinterpret_cast<name##Fn>(getProcAddress("gl" #name));           \
  if (name == nullptr) return "gl" #name;
  GRAVITY_GL_FUNCTIONS(GRAVITY_GL_LOAD)
#undef GRAVITY_GL_LOAD
  return nullptr;
}

}  // namespace gl
