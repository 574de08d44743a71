// SPDX-License-Identifier: MIT
// Display lists. A list is its calls in order: the state calls kept as closures replayed through
// the same entries, and its primitives, assembled once, in one WebGL buffer of its own drawn a
// run at a time. A corner's attribute the list never gave before the corner is left to the
// current value when the list is called, as GL leaves it.
#include <webgl/webgl1.h>

#include <cstring>
#include <unordered_map>

#include "gl_context.h"

namespace vxgl {
namespace {

constexpr int kMaxNesting = 64;

struct Run {
    Kind kind;
    GLint first;
    GLsizei count;
    uint8_t perVertex;
};

struct Op {
    std::function<void()> call;  // or, when empty, the run below is drawn
    Run run;
};

struct List {
    std::vector<Op> ops;
    GLuint buffer = 0;
};

struct Compiling {
    GLuint name = 0;  // 0: none
    GLenum mode = GL_COMPILE;
    List list;
    std::vector<Vertex> data;
    bool lastWasRun = false;
    uint8_t known = 0;  // attributes the list has set so far, with their values
    Vertex knownValues{};
    uint8_t leftCurrent = 0;  // attributes the last primitives left current, not yet recorded
    Vertex leftValues{};
};

struct Lists {
    std::unordered_map<GLuint, List> byName;
    GLuint nextName = 1;
    Compiling compiling;
    int replayDepth = 0;
};

Lists& lists()
{
    static Lists l;
    return l;
}

void copyAttributes(uint8_t mask, const Vertex& from, Vertex& to)
{
    if (mask & kNormal)
        std::memcpy(to.normal, from.normal, sizeof to.normal);
    if (mask & kColour)
        std::memcpy(to.colour, from.colour, sizeof to.colour);
    if (mask & kTexCoord)
        std::memcpy(to.tex, from.tex, sizeof to.tex);
}

// the current values the list's primitives leave, as a call of their own before the next one
void recordLeftCurrent()
{
    Compiling& c = lists().compiling;
    if (!c.leftCurrent)
        return;
    const uint8_t mask = c.leftCurrent;
    const Vertex v = c.leftValues;
    c.leftCurrent = 0;
    c.lastWasRun = false;
    c.list.ops.push_back(Op{[=] {
                                State::Current& s = ctx().state.current;
                                if (mask & kColour)
                                    setCurrentColour(v.colour);
                                if (mask & kNormal)
                                    std::memcpy(s.normal, v.normal, sizeof s.normal);
                                if (mask & kTexCoord) {
                                    s.tex[0] = v.tex[0], s.tex[1] = v.tex[1];
                                    s.tex[2] = 0, s.tex[3] = 1;
                                }
                            },
                            Run{}});
}

void release(List& list)
{
    if (list.buffer)
        emscripten_glDeleteBuffers(1, &list.buffer);
    list = List{};
}

}  // namespace

bool compiling() { return lists().compiling.name != 0 && lists().replayDepth == 0; }

bool compileOnly() { return compiling() && lists().compiling.mode == GL_COMPILE; }

bool recordFunction(std::function<void()> call)
{
    recordLeftCurrent();
    Compiling& c = lists().compiling;
    c.list.ops.push_back(Op{std::move(call), Run{}});
    c.lastWasRun = false;
    return c.mode == GL_COMPILE;
}

void listKnows(Attribute attribute, const float* value)
{
    Compiling& c = lists().compiling;
    Vertex v{};
    std::memcpy(attribute == kNormal   ? v.normal
                : attribute == kColour ? v.colour
                                       : v.tex,
                value,
                sizeof(float) * (attribute == kNormal   ? 3
                                 : attribute == kColour ? 4
                                                        : 2));
    copyAttributes(attribute, v, c.knownValues);
    c.known |= attribute;
}

uint8_t listKnown(Vertex& into)
{
    const Compiling& c = lists().compiling;
    copyAttributes(c.known, c.knownValues, into);
    return c.known;
}

void listAppend(Kind kind, const Vertex* vertices, size_t count, uint8_t perVertex,
                const Vertex& last, uint8_t setInside)
{
    Compiling& c = lists().compiling;
    if (count) {
        // a primitive right after one of its kind, taking the same attributes from its corners,
        // extends that one's run
        Run* run = c.lastWasRun ? &c.list.ops.back().run : nullptr;
        if (!run || run->kind != kind || run->perVertex != perVertex) {
            c.list.ops.push_back(Op{{}, Run{kind, GLint(c.data.size()), 0, perVertex}});
            run = &c.list.ops.back().run;
        }
        run->count += GLsizei(count);
        c.data.insert(c.data.end(), vertices, vertices + count);
        c.lastWasRun = true;
    }
    copyAttributes(setInside, last, c.knownValues);
    c.known |= setInside;
    copyAttributes(setInside, last, c.leftValues);
    c.leftCurrent |= setInside;
}

GLuint listIndex() { return lists().compiling.name; }

GLenum listMode() { return lists().compiling.name ? lists().compiling.mode : 0; }

}  // namespace vxgl

using namespace vxgl;

extern "C" {

GLuint glGenLists(GLsizei range)
{
    if (range < 0) {
        setError(GL_INVALID_VALUE);
        return 0;
    }
    if (range == 0)
        return 0;
    Lists& l = lists();
    const GLuint first = l.nextName;
    l.nextName += GLuint(range);
    for (GLuint n = first; n < l.nextName; ++n)
        l.byName[n];
    return first;
}

void glNewList(GLuint list, GLenum mode)
{
    if (list == 0)
        return setError(GL_INVALID_VALUE);
    if (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE)
        return setError(GL_INVALID_ENUM);
    Compiling& c = lists().compiling;
    if (c.name || insideBeginEnd())
        return setError(GL_INVALID_OPERATION);
    c = Compiling{};
    c.name = list;
    c.mode = mode;
    if (list >= lists().nextName)
        lists().nextName = list + 1;
}

void glEndList(void)
{
    Compiling& c = lists().compiling;
    if (!c.name || insideBeginEnd())
        return setError(GL_INVALID_OPERATION);
    recordLeftCurrent();
    List& list = lists().byName[c.name];
    release(list);
    list.ops = std::move(c.list.ops);
    if (!c.data.empty()) {
        emscripten_glGenBuffers(1, &list.buffer);
        bindArrayBuffer(list.buffer);
        emscripten_glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(c.data.size() * sizeof(Vertex)),
                                c.data.data(), GL_STATIC_DRAW);
    }
    c = Compiling{};
}

void glCallList(GLuint name)
{
    if (recordCall([=] { glCallList(name); })) {
        lists().compiling.known = 0;  // the list called may set any of them
        return;
    }
    if (compiling())
        lists().compiling.known = 0;
    Lists& l = lists();
    auto found = l.byName.find(name);
    if (found == l.byName.end() || l.replayDepth >= kMaxNesting)
        return;
    // nothing a list replays makes, replaces or deletes lists: the list stays as it is meanwhile
    const List& list = found->second;
    ++l.replayDepth;
    for (const Op& op : list.ops) {
        if (op.call)
            op.call();
        else
            drawBuffer(op.run.kind, list.buffer, op.run.first, op.run.count, op.run.perVertex);
    }
    --l.replayDepth;
}

void glDeleteLists(GLuint list, GLsizei range)
{
    if (range < 0)
        return setError(GL_INVALID_VALUE);
    Lists& l = lists();
    for (GLuint n = list; n < list + GLuint(range); ++n) {
        auto found = l.byName.find(n);
        if (found == l.byName.end())
            continue;
        release(found->second);
        l.byName.erase(found);
    }
}

GLboolean glIsList(GLuint list) { return lists().byName.count(list) ? GL_TRUE : GL_FALSE; }

}  // extern "C"
