// SPDX-License-Identifier: MIT
// Queries of the state (one reader for all four glGet forms), the error, the strings, reading
// the pixels back, and the flushes.
#include <webgl/webgl1.h>

#include <cstring>

#include "gl_context.h"

namespace vxgl {
namespace {

// the values of pname, as doubles; false when the name is not known
bool query(GLenum pname, double* out, int& count)
{
    const Context& c = ctx();
    const State& s = c.state;
    auto put = [&](std::initializer_list<double> values) {
        count = 0;
        for (double v : values)
            out[count++] = v;
    };
    auto putFloats = [&](const float* values, int n) {
        for (int i = 0; i < n; ++i)
            out[i] = values[i];
        count = n;
    };
    switch (pname) {
    case GL_MODELVIEW_MATRIX: putFloats(c.modelview.back().data(), 16); return true;
    case GL_PROJECTION_MATRIX: putFloats(c.projection.back().data(), 16); return true;
    case GL_CURRENT_COLOR: putFloats(s.current.colour, 4); return true;
    case GL_CURRENT_NORMAL: putFloats(s.current.normal, 3); return true;
    case GL_CURRENT_TEXTURE_COORDS: putFloats(s.current.tex, 4); return true;
    case GL_CURRENT_RASTER_POSITION: putFloats(s.current.rasterPos, 4); return true;
    case GL_CURRENT_RASTER_COLOR: putFloats(s.current.rasterColour, 4); return true;
    case GL_CURRENT_RASTER_POSITION_VALID: put({double(s.current.rasterValid)}); return true;
    case GL_VIEWPORT: {
        const GLint* b = s.viewport.box;
        put({double(b[0]), double(b[1]), double(b[2]), double(b[3])});
        return true;
    }
    case GL_MAX_TEXTURE_SIZE: {
        GLint size = 0;
        emscripten_glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
        put({double(size)});
        return true;
    }
    case GL_LIST_INDEX: put({double(listIndex())}); return true;
    case GL_LIST_MODE: put({double(listMode())}); return true;
    case GL_MAX_LIST_NESTING: put({64}); return true;
    case GL_UNPACK_ALIGNMENT: put({double(c.client.unpackAlignment)}); return true;
    case GL_PACK_ALIGNMENT: put({double(c.client.packAlignment)}); return true;
    case GL_MATRIX_MODE: put({double(s.transform.matrixMode)}); return true;
    case GL_MODELVIEW_STACK_DEPTH: put({double(c.modelview.size())}); return true;
    case GL_PROJECTION_STACK_DEPTH: put({double(c.projection.size())}); return true;
    case GL_MAX_MODELVIEW_STACK_DEPTH:
    case GL_MAX_PROJECTION_STACK_DEPTH:
    case GL_MAX_ATTRIB_STACK_DEPTH: put({double(kMaxStackDepth)}); return true;
    case GL_ATTRIB_STACK_DEPTH: put({double(attribStackDepth())}); return true;
    case GL_MAX_LIGHTS: put({double(kMaxLights)}); return true;
    case GL_TEXTURE_BINDING_2D: put({double(s.texture.bound)}); return true;
    case GL_POINT_SIZE: put({double(s.pointSize)}); return true;
    case GL_LINE_WIDTH: put({double(s.lineWidth)}); return true;
    case GL_SHADE_MODEL: put({double(s.lighting.shadeModel)}); return true;
    case GL_COLOR_MATERIAL_FACE: put({double(s.lighting.colourMaterialFace)}); return true;
    case GL_COLOR_MATERIAL_PARAMETER: put({double(s.lighting.colourMaterialMode)}); return true;
    case GL_LIGHT_MODEL_AMBIENT: putFloats(s.lighting.modelAmbient, 4); return true;
    case GL_BLEND_SRC: put({double(s.colourBuffer.blendSrc)}); return true;
    case GL_BLEND_DST: put({double(s.colourBuffer.blendDst)}); return true;
    case GL_COLOR_CLEAR_VALUE: putFloats(s.colourBuffer.clear, 4); return true;
    case GL_DEPTH_FUNC: put({double(s.depth.func)}); return true;
    case GL_DEPTH_WRITEMASK: put({double(s.depth.mask)}); return true;
    case GL_DEPTH_CLEAR_VALUE: put({s.depth.clear}); return true;
    case GL_CULL_FACE_MODE: put({double(s.polygon.cullMode)}); return true;
    case GL_FRONT_FACE: put({double(s.polygon.frontFace)}); return true;
    default: return false;
    }
}

// one of the four forms: the enables answer through glIsEnabled
template <class T, class Convert> void get(GLenum pname, T* params, Convert convert)
{
    double values[16];
    int count = 0;
    if (query(pname, values, count)) {
        for (int i = 0; i < count; ++i)
            params[i] = convert(values[i]);
        return;
    }
    // an unknown name leaves glIsEnabled's error, behind any earlier one
    const GLenum earlier = ctx().error;
    ctx().error = GL_NO_ERROR;
    const GLboolean on = glIsEnabled(pname);
    const bool known = ctx().error == GL_NO_ERROR;
    if (earlier != GL_NO_ERROR)
        ctx().error = earlier;
    if (known)
        params[0] = convert(double(on));
}

}  // namespace
}  // namespace vxgl

using namespace vxgl;

extern "C" {

void glGetBooleanv(GLenum pname, GLboolean* params)
{
    get(pname, params, [](double v) { return GLboolean(v != 0); });
}

void glGetIntegerv(GLenum pname, GLint* params)
{
    get(pname, params, [](double v) { return GLint(v < 0 ? v - 0.5 : v + 0.5); });
}

void glGetFloatv(GLenum pname, GLfloat* params)
{
    get(pname, params, [](double v) { return float(v); });
}

void glGetDoublev(GLenum pname, GLdouble* params)
{
    get(pname, params, [](double v) { return v; });
}

GLenum glGetError(void)
{
    const GLenum error = ctx().error;
    ctx().error = GL_NO_ERROR;
    return error;
}

const GLubyte* glGetString(GLenum name)
{
    const char* text = nullptr;
    switch (name) {
    case GL_VENDOR: text = "Vendettix"; break;
    case GL_RENDERER: text = "Vendettix GL over WebGL"; break;
    case GL_VERSION: text = "1.1 WebGL"; break;
    case GL_EXTENSIONS: text = ""; break;
    default: setError(GL_INVALID_ENUM); return nullptr;
    }
    return reinterpret_cast<const GLubyte*>(text);
}

// the canvas has one colour buffer to read
void glReadBuffer(GLenum) {}

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  GLvoid* pixels)
{
    if (width < 0 || height < 0)
        return setError(GL_INVALID_VALUE);
    if ((format != GL_RGBA && format != GL_RGB) || type != GL_UNSIGNED_BYTE)
        return setError(GL_INVALID_ENUM);
    flushBatch();
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
    emscripten_glPixelStorei(GL_PACK_ALIGNMENT, 1);
    emscripten_glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    emscripten_glPixelStorei(GL_PACK_ALIGNMENT, ctx().client.packAlignment);
    const size_t n = format == GL_RGB ? 3 : 4;
    const size_t align = size_t(ctx().client.packAlignment);
    const size_t stride = (size_t(width) * n + align - 1) / align * align;
    uint8_t* out = static_cast<uint8_t*>(pixels);
    for (GLsizei row = 0; row < height; ++row)
        for (GLsizei col = 0; col < width; ++col)
            std::memcpy(out + size_t(row) * stride + size_t(col) * n,
                        &rgba[(size_t(row) * size_t(width) + size_t(col)) * 4], n);
}

void glFlush(void)
{
    flushBatch();
    emscripten_glFlush();
}

void glFinish(void)
{
    flushBatch();
    emscripten_glFinish();
}

}  // extern "C"
