// SPDX-License-Identifier: MIT
// The context and the plain state calls: enables, blending, depth, faces, sizes, the viewport,
// the clear. Each change draws what was gathered under the old state first.
#include <webgl/webgl1.h>

#include <cstring>

#include "gl_context.h"

namespace vxgl {

Context& ctx()
{
    static Context context;
    return context;
}

void setError(GLenum error)
{
    if (ctx().error == GL_NO_ERROR)
        ctx().error = error;
}

void beforeStateChange()
{
    flushBatch();
    ++ctx().stateVersion;
}

void setCurrentColour(const float rgba[4])
{
    State& s = ctx().state;
    std::memcpy(s.current.colour, rgba, sizeof s.current.colour);
    if (!s.enables.colourMaterial)
        return;
    // the tracked parameters are taken from the vertices while tracking is on: no draw depends
    // on them until it is turned off, which is a state change of its own
    Material* faces[2] = {nullptr, nullptr};
    if (s.lighting.colourMaterialFace != GL_BACK)
        faces[0] = &s.lighting.front;
    if (s.lighting.colourMaterialFace != GL_FRONT)
        faces[1] = &s.lighting.back;
    for (Material* m : faces) {
        if (!m)
            continue;
        switch (s.lighting.colourMaterialMode) {
        case GL_AMBIENT:
            std::memcpy(m->ambient, rgba, 16);
            break;
        case GL_DIFFUSE:
            std::memcpy(m->diffuse, rgba, 16);
            break;
        case GL_SPECULAR:
            std::memcpy(m->specular, rgba, 16);
            break;
        case GL_EMISSION:
            std::memcpy(m->emission, rgba, 16);
            break;
        default:
            std::memcpy(m->ambient, rgba, 16);
            std::memcpy(m->diffuse, rgba, 16);
        }
    }
}

void setViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    GLint* box = ctx().state.viewport.box;
    if (box[0] == x && box[1] == y && box[2] == width && box[3] == height)
        return;
    beforeStateChange();
    box[0] = x;
    box[1] = y;
    box[2] = width;
    box[3] = height;
    emscripten_glViewport(x, y, width, height);
}

// the enable flag behind a capability, or null
static bool* capability(GLenum cap)
{
    State::Enables& e = ctx().state.enables;
    switch (cap) {
    case GL_LIGHTING:
        return &e.lighting;
    case GL_COLOR_MATERIAL:
        return &e.colourMaterial;
    case GL_NORMALIZE:
        return &e.normalize;
    case GL_TEXTURE_2D:
        return &e.texture2d;
    case GL_BLEND:
        return &e.blend;
    case GL_DEPTH_TEST:
        return &e.depthTest;
    case GL_CULL_FACE:
        return &e.cullFace;
    default:
        if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + kMaxLights)
            return &e.light[cap - GL_LIGHT0];
        return nullptr;
    }
}

static void setCapability(GLenum cap, bool on)
{
    bool* flag = capability(cap);
    if (!flag) {
        setError(GL_INVALID_ENUM);
        return;
    }
    if (*flag == on)
        return;
    beforeStateChange();
    *flag = on;
    if (cap == GL_COLOR_MATERIAL && on)
        setCurrentColour(ctx().state.current.colour);
}

}  // namespace vxgl

using namespace vxgl;

extern "C" {

void glEnable(GLenum cap)
{
    if (!recordCall([=] { glEnable(cap); }))
        setCapability(cap, true);
}

void glDisable(GLenum cap)
{
    if (!recordCall([=] { glDisable(cap); }))
        setCapability(cap, false);
}

GLboolean glIsEnabled(GLenum cap)
{
    if (bool* flag = capability(cap))
        return *flag;
    const Client& c = ctx().client;
    switch (cap) {
    case GL_VERTEX_ARRAY:
        return c.vertex.enabled;
    case GL_NORMAL_ARRAY:
        return c.normal.enabled;
    case GL_COLOR_ARRAY:
        return c.colour.enabled;
    case GL_TEXTURE_COORD_ARRAY:
        return c.texCoord.enabled;
    default:
        setError(GL_INVALID_ENUM);
        return GL_FALSE;
    }
}

void glShadeModel(GLenum mode)
{
    if (recordCall([=] { glShadeModel(mode); }))
        return;
    if (mode != GL_FLAT && mode != GL_SMOOTH)
        return setError(GL_INVALID_ENUM);
    // flat shading is applied as the primitives are assembled: nothing gathered depends on it
    ctx().state.lighting.shadeModel = mode;
}

void glBlendFunc(GLenum sfactor, GLenum dfactor)
{
    if (recordCall([=] { glBlendFunc(sfactor, dfactor); }))
        return;
    State::ColourBuffer& c = ctx().state.colourBuffer;
    if (c.blendSrc == sfactor && c.blendDst == dfactor)
        return;
    beforeStateChange();
    c.blendSrc = sfactor;
    c.blendDst = dfactor;
}

void glDepthFunc(GLenum func)
{
    if (recordCall([=] { glDepthFunc(func); }))
        return;
    if (func < GL_NEVER || func > GL_ALWAYS)
        return setError(GL_INVALID_ENUM);
    if (ctx().state.depth.func == func)
        return;
    beforeStateChange();
    ctx().state.depth.func = func;
}

void glDepthMask(GLboolean flag)
{
    if (recordCall([=] { glDepthMask(flag); }))
        return;
    if (ctx().state.depth.mask == bool(flag))
        return;
    beforeStateChange();
    ctx().state.depth.mask = flag;
}

void glCullFace(GLenum mode)
{
    if (recordCall([=] { glCullFace(mode); }))
        return;
    if (mode != GL_FRONT && mode != GL_BACK && mode != GL_FRONT_AND_BACK)
        return setError(GL_INVALID_ENUM);
    if (ctx().state.polygon.cullMode == mode)
        return;
    beforeStateChange();
    ctx().state.polygon.cullMode = mode;
}

void glFrontFace(GLenum mode)
{
    if (recordCall([=] { glFrontFace(mode); }))
        return;
    if (mode != GL_CW && mode != GL_CCW)
        return setError(GL_INVALID_ENUM);
    if (ctx().state.polygon.frontFace == mode)
        return;
    beforeStateChange();
    ctx().state.polygon.frontFace = mode;
}

void glPointSize(GLfloat size)
{
    if (recordCall([=] { glPointSize(size); }))
        return;
    if (!(size > 0))
        return setError(GL_INVALID_VALUE);
    if (ctx().state.pointSize == size)
        return;
    beforeStateChange();
    ctx().state.pointSize = size;
}

// WebGL draws lines one pixel wide whatever is asked: the width is kept for the queries only
void glLineWidth(GLfloat width)
{
    if (recordCall([=] { glLineWidth(width); }))
        return;
    if (!(width > 0))
        return setError(GL_INVALID_VALUE);
    ctx().state.lineWidth = width;
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    if (recordCall([=] { glViewport(x, y, width, height); }))
        return;
    if (width < 0 || height < 0)
        return setError(GL_INVALID_VALUE);
    setViewport(x, y, width, height);
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)
{
    if (recordCall([=] { glClearColor(red, green, blue, alpha); }))
        return;
    float* c = ctx().state.colourBuffer.clear;
    c[0] = red;
    c[1] = green;
    c[2] = blue;
    c[3] = alpha;
}

void glClearDepth(GLclampd depth)
{
    if (!recordCall([=] { glClearDepth(depth); }))
        ctx().state.depth.clear = depth;
}

void glClear(GLbitfield mask)
{
    if (recordCall([=] { glClear(mask); }))
        return;
    flushBatch();
    const State& s = ctx().state;
    const float* c = s.colourBuffer.clear;
    emscripten_glClearColor(c[0], c[1], c[2], c[3]);
    emscripten_glClearDepthf(float(s.depth.clear));
    applyFixedState(Kind::None);  // the depth write mask holds for the clear too
    emscripten_glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
}

}  // extern "C"
