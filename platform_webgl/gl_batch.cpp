// SPDX-License-Identifier: MIT
// Drawing: the batch gathers the primitives drawn under one state into one WebGL draw; a state
// change, a list's draw, a readback or the buffer swap draws it. WebGL's own state is set from
// GL's only where it differs from what was last set.
#include <webgl/webgl1.h>

#include <cstddef>

#include "GL/vxgl_internal.h"
#include "gl_context.h"

namespace vxgl {
namespace {

struct Batch {
    Kind kind = Kind::None;
    std::vector<Vertex> vertices;
    GLuint stream = 0;  // the WebGL buffer each batch is sent through
};

Batch& batch()
{
    static Batch b;
    return b;
}

// what WebGL was last told; unknown after a new context
struct Applied {
    bool known = false;
    bool depthTest = false, blend = false, cullFace = false, depthMask = true;
    GLenum blendSrc = GL_ONE, blendDst = GL_ZERO, depthFunc = GL_LESS, cullMode = GL_BACK,
           frontFace = GL_CCW;
    GLuint arrayBuffer = 0, texture = 0;
    uint8_t arrays = 0;  // the attribute arrays enabled, bit per location
};

Applied& applied()
{
    static Applied a;
    return a;
}

void setCapability(GLenum cap, bool on, bool& was, bool force)
{
    if (!force && was == on)
        return;
    was = on;
    if (on)
        emscripten_glEnable(cap);
    else
        emscripten_glDisable(cap);
}

void setArray(GLuint location, bool on)
{
    Applied& a = applied();
    const uint8_t bit = uint8_t(1u << location);
    if (bool(a.arrays & bit) == on)
        return;
    if (on) {
        emscripten_glEnableVertexAttribArray(location);
        a.arrays |= bit;
    } else {
        emscripten_glDisableVertexAttribArray(location);
        a.arrays &= uint8_t(~bit);
    }
}

// an attribute from the buffer, or the current value for every corner
void attribute(GLuint location, bool perVertex, GLint size, size_t offset, const float* current)
{
    setArray(location, perVertex);
    if (perVertex)
        emscripten_glVertexAttribPointer(location, size, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                                         reinterpret_cast<const void*>(offset));
    else
        emscripten_glVertexAttrib4f(location, current[0], size > 1 ? current[1] : 0,
                                    size > 2 ? current[2] : 0, size > 3 ? current[3] : 1);
}

GLenum webglMode(Kind kind)
{
    switch (kind) {
    case Kind::Lines:
        return GL_LINES;
    case Kind::Points:
        return GL_POINTS;
    default:
        return GL_TRIANGLES;
    }
}

void draw(Kind kind, GLuint buffer, GLint first, GLsizei count, uint8_t perVertex)
{
    if (count <= 0)
        return;
    const State& s = ctx().state;
    GLuint texture = 0;
    if (kind == Kind::Bitmaps)
        texture = atlasTexture();
    else if (s.enables.texture2d)
        texture = usableTexture(s.texture.bound);
    applyFixedState(kind);
    useProgramFor(kind, texture);
    if (texture)
        bindWebglTexture(texture);
    bindArrayBuffer(buffer);
    const State::Current& c = s.current;
    const float tex[2] = {c.tex[0] / c.tex[3], c.tex[1] / c.tex[3]};
    attribute(0, true, 3, offsetof(Vertex, pos), nullptr);
    attribute(1, perVertex & kNormal, 3, offsetof(Vertex, normal), c.normal);
    attribute(2, perVertex & kColour, 4, offsetof(Vertex, colour), c.colour);
    attribute(3, perVertex & kTexCoord, 2, offsetof(Vertex, tex), tex);
    emscripten_glDrawArrays(webglMode(kind), first, count);
}

}  // namespace

void bindWebglTexture(GLuint texture)
{
    if (applied().texture == texture)
        return;
    applied().texture = texture;
    emscripten_glBindTexture(GL_TEXTURE_2D, texture);
}

void bindArrayBuffer(GLuint buffer)
{
    if (applied().arrayBuffer == buffer)
        return;
    applied().arrayBuffer = buffer;
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
}

void applyFixedState(Kind kind)
{
    const State& s = ctx().state;
    Applied& a = applied();
    const bool force = !a.known;
    a.known = true;
    setCapability(GL_DEPTH_TEST, s.enables.depthTest, a.depthTest, force);
    setCapability(GL_BLEND, s.enables.blend, a.blend, force);
    // bitmaps, lines and points are never culled
    setCapability(GL_CULL_FACE, s.enables.cullFace && kind == Kind::Triangles, a.cullFace, force);
    if (force || a.blendSrc != s.colourBuffer.blendSrc || a.blendDst != s.colourBuffer.blendDst) {
        a.blendSrc = s.colourBuffer.blendSrc;
        a.blendDst = s.colourBuffer.blendDst;
        emscripten_glBlendFunc(a.blendSrc, a.blendDst);
    }
    if (force || a.depthFunc != s.depth.func)
        emscripten_glDepthFunc(a.depthFunc = s.depth.func);
    if (force || a.depthMask != s.depth.mask)
        emscripten_glDepthMask(a.depthMask = s.depth.mask);
    if (force || a.cullMode != s.polygon.cullMode)
        emscripten_glCullFace(a.cullMode = s.polygon.cullMode);
    if (force || a.frontFace != s.polygon.frontFace)
        emscripten_glFrontFace(a.frontFace = s.polygon.frontFace);
}

void batchAppend(Kind kind, const Vertex* vertices, size_t count)
{
    Batch& b = batch();
    if (b.kind != kind)
        flushBatch();
    b.kind = kind;
    b.vertices.insert(b.vertices.end(), vertices, vertices + count);
}

void flushBatch()
{
    Batch& b = batch();
    if (b.vertices.empty() || !b.stream)
        return;
    bindArrayBuffer(b.stream);
    emscripten_glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(b.vertices.size() * sizeof(Vertex)),
                            b.vertices.data(), GL_STREAM_DRAW);
    const GLsizei count = GLsizei(b.vertices.size());
    const Kind kind = b.kind;
    b.vertices.clear();
    b.kind = Kind::None;
    draw(kind, b.stream, 0, count, kAllAttributes);
}

void drawBuffer(Kind kind, GLuint buffer, GLint first, GLsizei count, uint8_t perVertex)
{
    flushBatch();
    draw(kind, buffer, first, count, perVertex);
}

void initDrawing()
{
    applied() = Applied{};
    Batch& b = batch();
    b.vertices.clear();
    b.kind = Kind::None;
    emscripten_glGenBuffers(1, &b.stream);
    emscripten_glActiveTexture(GL_TEXTURE0);
}

}  // namespace vxgl

using namespace vxgl;

extern "C" {

void vxglInitContext(void)
{
    initShaders();
    initDrawing();
    initBitmaps();
    GLint box[4] = {0, 0, 0, 0};
    emscripten_glGetIntegerv(GL_VIEWPORT, box);
    ctx().state.viewport = State::Viewport{{box[0], box[1], box[2], box[3]}};
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, ctx().client.unpackAlignment);
    emscripten_glPixelStorei(GL_PACK_ALIGNMENT, ctx().client.packAlignment);
    ++ctx().stateVersion;
    ++ctx().matrixVersion;
}

void vxglFlush(void) { flushBatch(); }

}  // extern "C"
