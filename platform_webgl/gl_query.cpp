// SPDX-License-Identifier: MIT
// Queries of the state (one reader for all four glGet forms), the error, the strings, reading
// the pixels back, and the flushes.
#include <webgl/webgl1.h>

#include <algorithm>
#include <cstring>

#include "gl_context.h"

namespace vxgl {
namespace {

// the values of pname, as doubles, and their count; 0 when the name is not known
int query(GLenum pname, double* out)
{
    const Context& c = ctx();
    const State& s = c.state;
    auto values = [&](std::initializer_list<double> v) {
        std::copy(v.begin(), v.end(), out);
        return int(v.size());
    };
    auto floats = [&](const float* v, int n) {
        std::copy(v, v + n, out);
        return n;
    };
    const GLint* box = s.viewport.box;
    switch (pname) {
    case GL_MODELVIEW_MATRIX:
        return floats(c.modelview.back().data(), 16);
    case GL_PROJECTION_MATRIX:
        return floats(c.projection.back().data(), 16);
    case GL_CURRENT_COLOR:
        return floats(s.current.colour, 4);
    case GL_CURRENT_NORMAL:
        return floats(s.current.normal, 3);
    case GL_CURRENT_TEXTURE_COORDS:
        return floats(s.current.tex, 4);
    case GL_CURRENT_RASTER_POSITION:
        return floats(s.current.rasterPos, 4);
    case GL_CURRENT_RASTER_COLOR:
        return floats(s.current.rasterColour, 4);
    case GL_CURRENT_RASTER_POSITION_VALID:
        return values({double(s.current.rasterValid)});
    case GL_VIEWPORT:
        return values({double(box[0]), double(box[1]), double(box[2]), double(box[3])});
    case GL_MAX_TEXTURE_SIZE: {
        GLint size = 0;
        emscripten_glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
        return values({double(size)});
    }
    case GL_LIST_INDEX:
        return values({double(listIndex())});
    case GL_LIST_MODE:
        return values({double(listMode())});
    case GL_MAX_LIST_NESTING:
        return values({64});
    case GL_UNPACK_ALIGNMENT:
        return values({double(c.client.unpackAlignment)});
    case GL_PACK_ALIGNMENT:
        return values({double(c.client.packAlignment)});
    case GL_MATRIX_MODE:
        return values({double(s.transform.matrixMode)});
    case GL_MODELVIEW_STACK_DEPTH:
        return values({double(c.modelview.size())});
    case GL_PROJECTION_STACK_DEPTH:
        return values({double(c.projection.size())});
    case GL_MAX_MODELVIEW_STACK_DEPTH:
    case GL_MAX_PROJECTION_STACK_DEPTH:
    case GL_MAX_ATTRIB_STACK_DEPTH:
        return values({double(kMaxStackDepth)});
    case GL_ATTRIB_STACK_DEPTH:
        return values({double(attribStackDepth())});
    case GL_MAX_LIGHTS:
        return values({double(kMaxLights)});
    case GL_TEXTURE_BINDING_2D:
        return values({double(s.texture.bound)});
    case GL_POINT_SIZE:
        return values({double(s.pointSize)});
    case GL_LINE_WIDTH:
        return values({double(s.lineWidth)});
    case GL_SHADE_MODEL:
        return values({double(s.lighting.shadeModel)});
    case GL_COLOR_MATERIAL_FACE:
        return values({double(s.lighting.colourMaterialFace)});
    case GL_COLOR_MATERIAL_PARAMETER:
        return values({double(s.lighting.colourMaterialMode)});
    case GL_LIGHT_MODEL_AMBIENT:
        return floats(s.lighting.modelAmbient, 4);
    case GL_BLEND_SRC:
        return values({double(s.colourBuffer.blendSrc)});
    case GL_BLEND_DST:
        return values({double(s.colourBuffer.blendDst)});
    case GL_COLOR_CLEAR_VALUE:
        return floats(s.colourBuffer.clear, 4);
    case GL_DEPTH_FUNC:
        return values({double(s.depth.func)});
    case GL_DEPTH_WRITEMASK:
        return values({double(s.depth.mask)});
    case GL_DEPTH_CLEAR_VALUE:
        return values({s.depth.clear});
    case GL_CULL_FACE_MODE:
        return values({double(s.polygon.cullMode)});
    case GL_FRONT_FACE:
        return values({double(s.polygon.frontFace)});
    default:
        return 0;
    }
}

// one of the four forms: the enables answer through glIsEnabled
template <class T, class Convert>
void get(GLenum pname, T* params, Convert convert)
{
    double values[16];
    if (const int count = query(pname, values)) {
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
    case GL_VENDOR:
        text = "Vendettix";
        break;
    case GL_RENDERER:
        text = "Vendettix GL over WebGL";
        break;
    case GL_VERSION:
        text = "1.1 WebGL";
        break;
    case GL_EXTENSIONS:
        text = "";
        break;
    default:
        setError(GL_INVALID_ENUM);
        return nullptr;
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

// WebGL's finish returns before the renderer has drawn; reading a pixel back waits for it, as
// GL's glFinish does
void glFinish(void)
{
    flushBatch();
    emscripten_glFinish();
    GLubyte pixel[4];
    emscripten_glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

}  // extern "C"
