// SPDX-License-Identifier: MIT
// The attribute stack: glPushAttrib saves the groups its bits name, glPopAttrib puts them back.
#include <vector>

#include "gl_context.h"

namespace vxgl {
namespace {

struct Saved {
    GLbitfield mask;
    State state;
};

std::vector<Saved>& attribStack()
{
    static std::vector<Saved> stack;
    return stack;
}

// the enables that travel with a group's bit
void restoreLightingEnables(State::Enables& to, const State::Enables& from)
{
    to.lighting = from.lighting;
    to.colourMaterial = from.colourMaterial;
    for (int i = 0; i < kMaxLights; ++i)
        to.light[i] = from.light[i];
}

}  // namespace

int attribStackDepth() { return int(attribStack().size()); }

}  // namespace vxgl

using namespace vxgl;

extern "C" {

void glPushAttrib(GLbitfield mask)
{
    if (recordCall([=] { glPushAttrib(mask); }))
        return;
    if (attribStack().size() >= size_t(kMaxStackDepth))
        return setError(GL_STACK_OVERFLOW);
    attribStack().push_back(Saved{mask, ctx().state});
}

void glPopAttrib(void)
{
    if (recordCall([] { glPopAttrib(); }))
        return;
    if (attribStack().empty())
        return setError(GL_STACK_UNDERFLOW);
    beforeStateChange();
    const Saved saved = attribStack().back();
    attribStack().pop_back();
    const State& from = saved.state;
    State& to = ctx().state;
    const GLbitfield m = saved.mask;
    if (m & GL_CURRENT_BIT)
        to.current = from.current;
    if (m & GL_ENABLE_BIT)
        to.enables = from.enables;
    if (m & GL_LIGHTING_BIT) {
        to.lighting = from.lighting;
        restoreLightingEnables(to.enables, from.enables);
    }
    if (m & GL_TEXTURE_BIT) {
        to.texture = from.texture;
        to.enables.texture2d = from.enables.texture2d;
    }
    if (m & GL_COLOR_BUFFER_BIT) {
        to.colourBuffer = from.colourBuffer;
        to.enables.blend = from.enables.blend;
    }
    if (m & GL_DEPTH_BUFFER_BIT) {
        to.depth = from.depth;
        to.enables.depthTest = from.enables.depthTest;
    }
    if (m & GL_POLYGON_BIT) {
        to.polygon = from.polygon;
        to.enables.cullFace = from.enables.cullFace;
    }
    if (m & GL_TRANSFORM_BIT) {
        to.transform = from.transform;
        to.enables.normalize = from.enables.normalize;
    }
    if (m & GL_VIEWPORT_BIT) {
        const GLint* box = from.viewport.box;
        setViewport(box[0], box[1], box[2], box[3]);
    }
    if (m & GL_POINT_BIT)
        to.pointSize = from.pointSize;
    if (m & GL_LINE_BIT)
        to.lineWidth = from.lineWidth;
}

}  // extern "C"
