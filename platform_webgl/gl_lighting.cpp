// SPDX-License-Identifier: MIT
// Lights, the light model and materials. A light's position is taken into eye coordinates by
// the modelview in force when it is given, as GL does; the shaders light in eye coordinates.
#include <array>
#include <cstring>

#include "gl_context.h"

namespace vxgl {
namespace {

using Values = std::array<float, 4>;

Values copyValues(GLenum pname, const GLfloat* params)
{
    Values v{0, 0, 0, 0};
    const int count = pname == GL_SHININESS || pname == GL_CONSTANT_ATTENUATION ||
                              pname == GL_LINEAR_ATTENUATION || pname == GL_QUADRATIC_ATTENUATION
                          ? 1
                          : 4;
    std::memcpy(v.data(), params, sizeof(float) * size_t(count));
    return v;
}

void setLight(GLenum which, GLenum pname, const Values& v)
{
    if (which < GL_LIGHT0 || which >= GL_LIGHT0 + kMaxLights)
        return setError(GL_INVALID_ENUM);
    Light& l = ctx().state.lighting.light[which - GL_LIGHT0];
    switch (pname) {
    case GL_AMBIENT:
        beforeStateChange();
        std::memcpy(l.ambient, v.data(), 16);
        return;
    case GL_DIFFUSE:
        beforeStateChange();
        std::memcpy(l.diffuse, v.data(), 16);
        return;
    case GL_SPECULAR:
        beforeStateChange();
        std::memcpy(l.specular, v.data(), 16);
        return;
    case GL_POSITION: {
        beforeStateChange();
        const Mat4& m = ctx().modelview.back();
        for (int row = 0; row < 4; ++row)
            l.position[row] =
                m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
        return;
    }
    case GL_CONSTANT_ATTENUATION:
    case GL_LINEAR_ATTENUATION:
    case GL_QUADRATIC_ATTENUATION:
        if (v[0] < 0)
            return setError(GL_INVALID_VALUE);
        beforeStateChange();
        l.attenuation[pname - GL_CONSTANT_ATTENUATION] = v[0];
        return;
    default:
        setError(GL_INVALID_ENUM);
    }
}

// the parameters glColorMaterial ties to the colour on this face, or 0
GLenum tracked(bool front)
{
    const State& s = ctx().state;
    const GLenum face = s.lighting.colourMaterialFace;
    if (!s.enables.colourMaterial || (front && face == GL_BACK) || (!front && face == GL_FRONT))
        return 0;
    return s.lighting.colourMaterialMode;
}

// While the colour stands in for a parameter, giving that parameter changes nothing.
void setMaterial(Material& m, GLenum pname, const Values& v, GLenum skip)
{
    const bool ambient = pname == GL_AMBIENT || pname == GL_AMBIENT_AND_DIFFUSE;
    const bool diffuse = pname == GL_DIFFUSE || pname == GL_AMBIENT_AND_DIFFUSE;
    const bool skipAmbient = skip == GL_AMBIENT || skip == GL_AMBIENT_AND_DIFFUSE;
    const bool skipDiffuse = skip == GL_DIFFUSE || skip == GL_AMBIENT_AND_DIFFUSE;
    if (ambient && !skipAmbient)
        std::memcpy(m.ambient, v.data(), 16);
    if (diffuse && !skipDiffuse)
        std::memcpy(m.diffuse, v.data(), 16);
    if (pname == GL_SPECULAR && skip != GL_SPECULAR)
        std::memcpy(m.specular, v.data(), 16);
    if (pname == GL_EMISSION && skip != GL_EMISSION)
        std::memcpy(m.emission, v.data(), 16);
    if (pname == GL_SHININESS)
        m.shininess = v[0];
}

void material(GLenum face, GLenum pname, const Values& v)
{
    if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK)
        return setError(GL_INVALID_ENUM);
    if (pname != GL_AMBIENT && pname != GL_DIFFUSE && pname != GL_SPECULAR &&
        pname != GL_EMISSION && pname != GL_SHININESS && pname != GL_AMBIENT_AND_DIFFUSE)
        return setError(GL_INVALID_ENUM);
    if (pname == GL_SHININESS && (v[0] < 0 || v[0] > 128))
        return setError(GL_INVALID_VALUE);
    beforeStateChange();
    State::Lighting& l = ctx().state.lighting;
    if (face != GL_BACK)
        setMaterial(l.front, pname, v, tracked(true));
    if (face != GL_FRONT)
        setMaterial(l.back, pname, v, tracked(false));
}

}  // namespace
}  // namespace vxgl

using namespace vxgl;

extern "C" {

void glLightfv(GLenum light, GLenum pname, const GLfloat* params)
{
    const Values v = copyValues(pname, params);
    if (!recordCall([=] { setLight(light, pname, v); }))
        setLight(light, pname, v);
}

void glLightf(GLenum light, GLenum pname, GLfloat param)
{
    const float v[4] = {param, 0, 0, 0};
    glLightfv(light, pname, v);
}

void glLightModelfv(GLenum pname, const GLfloat* params)
{
    if (pname != GL_LIGHT_MODEL_AMBIENT)
        return setError(GL_INVALID_ENUM);
    const Values v = copyValues(pname, params);
    auto set = [=] {
        beforeStateChange();
        std::memcpy(ctx().state.lighting.modelAmbient, v.data(), 16);
    };
    if (!recordCall(set))
        set();
}

void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params)
{
    const Values v = copyValues(pname, params);
    if (!recordCall([=] { material(face, pname, v); }))
        material(face, pname, v);
}

void glMaterialf(GLenum face, GLenum pname, GLfloat param)
{
    const float v[4] = {param, 0, 0, 0};
    glMaterialfv(face, pname, v);
}

void glColorMaterial(GLenum face, GLenum mode)
{
    auto set = [=] {
        if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK)
            return setError(GL_INVALID_ENUM);
        if (mode != GL_AMBIENT && mode != GL_DIFFUSE && mode != GL_SPECULAR &&
            mode != GL_EMISSION && mode != GL_AMBIENT_AND_DIFFUSE)
            return setError(GL_INVALID_ENUM);
        beforeStateChange();
        State& s = ctx().state;
        s.lighting.colourMaterialFace = face;
        s.lighting.colourMaterialMode = mode;
        if (s.enables.colourMaterial)
            setCurrentColour(s.current.colour);
    };
    if (!recordCall(set))
        set();
}

}  // extern "C"
