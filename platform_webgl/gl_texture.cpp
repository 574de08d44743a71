// SPDX-License-Identifier: MIT
// Texture objects under GL's names (any name may be bound without glGenTextures), their images
// and parameters, the texture environment and the pixel storage. WebGL wants power-of-two sizes
// for repeating and mipmapped textures: any other size is stretched to the next power of two as
// it is given. A texture missing the images its filter needs draws untextured, as in GL.
#include <webgl/webgl1.h>

#include <algorithm>
#include <unordered_map>

#include "gl_context.h"

namespace vxgl {
namespace {

struct TextureObject {
    GLuint webgl = 0;
    GLenum minFilter = GL_NEAREST_MIPMAP_LINEAR;
    int width = 0, height = 0;  // level 0 as uploaded
    uint32_t levels = 0;        // bit per level given
};

struct Textures {
    std::unordered_map<GLuint, TextureObject> byName;
    GLuint nextName = 1;
};

Textures& textures()
{
    static Textures t;
    return t;
}

TextureObject& object(GLuint name)
{
    TextureObject& t = textures().byName[name];
    if (!t.webgl) {
        emscripten_glGenTextures(1, &t.webgl);
        bindWebglTexture(t.webgl);
        // GL's initial filters; WebGL's own differ
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_LINEAR);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    return t;
}

int powerOfTwoAtLeast(int n)
{
    int p = 1;
    while (p < n)
        p *= 2;
    return p;
}

int channels(GLenum format)
{
    switch (format) {
    case GL_RGB:
        return 3;
    case GL_RGBA:
        return 4;
    case GL_LUMINANCE_ALPHA:
        return 2;
    case GL_LUMINANCE:
    case GL_ALPHA:
        return 1;
    default:
        return 0;
    }
}

bool mipmapped(GLenum filter) { return filter != GL_NEAREST && filter != GL_LINEAR; }

// the image stretched to width x height, nearest texel, rows packed
std::vector<uint8_t> stretch(const uint8_t* pixels, int w, int h, int n, int width, int height)
{
    const int align = ctx().client.unpackAlignment;
    const size_t stride =
        (size_t(w) * size_t(n) + size_t(align) - 1) / size_t(align) * size_t(align);
    std::vector<uint8_t> out(size_t(width) * size_t(height) * size_t(n));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* from =
                pixels + size_t(y * h / height) * stride + size_t(x * w / width) * size_t(n);
            for (int k = 0; k < n; ++k)
                out[(size_t(y) * size_t(width) + size_t(x)) * size_t(n) + size_t(k)] = from[k];
        }
    return out;
}

GLint webglWrap(GLint wrap) { return wrap == GL_CLAMP ? GL_CLAMP_TO_EDGE : wrap; }

}  // namespace

GLuint usableTexture(GLuint name)
{
    auto found = textures().byName.find(name);
    if (found == textures().byName.end())
        return 0;
    const TextureObject& t = found->second;
    if (!(t.levels & 1))
        return 0;
    if (mipmapped(t.minFilter)) {
        int top = 0;
        for (int size = std::max(t.width, t.height); size > 1; size /= 2)
            ++top;
        for (int level = 0; level <= top; ++level)
            if (!(t.levels & (1u << level)))
                return 0;
    }
    return t.webgl;
}

}  // namespace vxgl

using namespace vxgl;

extern "C" {

void glGenTextures(GLsizei n, GLuint* names)
{
    if (n < 0)
        return setError(GL_INVALID_VALUE);
    Textures& t = textures();
    for (GLsizei i = 0; i < n; ++i) {
        while (t.byName.count(t.nextName))
            ++t.nextName;
        names[i] = t.nextName;
        t.byName[t.nextName];
    }
}

void glDeleteTextures(GLsizei n, const GLuint* names)
{
    if (n < 0)
        return setError(GL_INVALID_VALUE);
    beforeStateChange();
    for (GLsizei i = 0; i < n; ++i) {
        auto found = textures().byName.find(names[i]);
        if (found == textures().byName.end() || names[i] == 0)
            continue;
        if (found->second.webgl) {
            bindWebglTexture(0);
            emscripten_glDeleteTextures(1, &found->second.webgl);
        }
        textures().byName.erase(found);
        if (ctx().state.texture.bound == names[i])
            ctx().state.texture.bound = 0;
    }
}

void glBindTexture(GLenum target, GLuint name)
{
    if (recordCall([=] { glBindTexture(target, name); }))
        return;
    if (target != GL_TEXTURE_2D)
        return setError(GL_INVALID_ENUM);
    if (ctx().state.texture.bound == name)
        return;
    beforeStateChange();
    ctx().state.texture.bound = name;
}

void glTexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels)
{
    (void)internalformat;  // WebGL stores the texture as it is given
    const int n = channels(format);
    if (target != GL_TEXTURE_2D || type != GL_UNSIGNED_BYTE || !n)
        return setError(GL_INVALID_ENUM);
    if (level < 0 || level > 31 || width < 0 || height < 0 || border != 0)
        return setError(GL_INVALID_VALUE);
    beforeStateChange();
    TextureObject& t = object(ctx().state.texture.bound);
    // a level is made the size the level 0 as uploaded has it
    if (level == 0) {
        t.width = powerOfTwoAtLeast(width);
        t.height = powerOfTwoAtLeast(height);
        t.levels = 0;
    }
    const int w = std::max(1, t.width >> level), h = std::max(1, t.height >> level);
    bindWebglTexture(t.webgl);
    if ((w != width || h != height) && pixels) {
        const std::vector<uint8_t> image =
            stretch(static_cast<const uint8_t*>(pixels), width, height, n, w, h);
        emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        emscripten_glTexImage2D(GL_TEXTURE_2D, level, GLint(format), w, h, 0, format, type,
                                image.data());
        emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, ctx().client.unpackAlignment);
    } else {
        emscripten_glTexImage2D(GL_TEXTURE_2D, level, GLint(format), w, h, 0, format, type, pixels);
    }
    t.levels |= 1u << level;
}

void glTexParameteri(GLenum target, GLenum pname, GLint param)
{
    if (recordCall([=] { glTexParameteri(target, pname, param); }))
        return;
    if (target != GL_TEXTURE_2D)
        return setError(GL_INVALID_ENUM);
    switch (pname) {
    case GL_TEXTURE_MIN_FILTER:
    case GL_TEXTURE_MAG_FILTER:
    case GL_TEXTURE_WRAP_S:
    case GL_TEXTURE_WRAP_T:
        break;
    default:
        return setError(GL_INVALID_ENUM);
    }
    beforeStateChange();
    TextureObject& t = object(ctx().state.texture.bound);
    if (pname == GL_TEXTURE_MIN_FILTER)
        t.minFilter = GLenum(param);
    bindWebglTexture(t.webgl);
    emscripten_glTexParameteri(GL_TEXTURE_2D, pname, webglWrap(param));
}

void glTexParameterf(GLenum target, GLenum pname, GLfloat param)
{
    glTexParameteri(target, pname, GLint(param));
}

void glTexEnvi(GLenum target, GLenum pname, GLint param)
{
    if (recordCall([=] { glTexEnvi(target, pname, param); }))
        return;
    if (target != GL_TEXTURE_ENV || pname != GL_TEXTURE_ENV_MODE ||
        (param != GL_MODULATE && param != GL_REPLACE))
        return setError(GL_INVALID_ENUM);
    if (ctx().state.texture.envMode == GLenum(param))
        return;
    beforeStateChange();
    ctx().state.texture.envMode = GLenum(param);
}

void glTexEnvf(GLenum target, GLenum pname, GLfloat param)
{
    glTexEnvi(target, pname, GLint(param));
}

void glPixelStorei(GLenum pname, GLint param)
{
    if (param != 1 && param != 2 && param != 4 && param != 8)
        return setError(GL_INVALID_VALUE);
    Client& c = ctx().client;
    if (pname == GL_UNPACK_ALIGNMENT)
        c.unpackAlignment = param;
    else if (pname == GL_PACK_ALIGNMENT)
        c.packAlignment = param;
    else
        return setError(GL_INVALID_ENUM);
    emscripten_glPixelStorei(pname, param);
}

}  // extern "C"
