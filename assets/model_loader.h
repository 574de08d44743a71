// SPDX-License-Identifier: MIT
// assets: the 3DS model reader. Safe on any input: it never reads or writes past an array, every
// walk ends, and a broken chunk costs only what it holds.
#pragma once
#include <cstdint>
#include <cstdio>

#include "assets/model.h"

// where skipped chunk bodies land; the version check reads its first word
extern uint32_t gChunkScratch[64];

class ModelLoader {
public:
    // fills model (expected empty, swapYZ already set) from the file; false when the file cannot
    // be opened or does not start with a primary chunk, after the message box
    bool load(Model& model, const char* fileName);
    // the same from an open stream, which is left open; fileName only names it in the messages
    bool loadFrom(Model& model, FILE* stream, const char* fileName);

    FILE* file = nullptr;

private:
    struct Chunk {
        uint16_t id;
        uint32_t length;     // whole chunk, header included
        uint32_t bytesRead;  // consumed so far, header included
        int64_t start;       // file offset of the header
    };

    bool readChild(Chunk& parent, Chunk& child);
    uint32_t readBytes(Chunk& chunk, void* into, uint32_t count);
    void skipRest(Chunk& chunk);
    uint32_t readName(Chunk& chunk, char* into, uint32_t size);
    uint16_t readCount(Chunk& chunk);

    template <class ReadChildAs>
    void walkChildren(Chunk& parent, ReadChildAs readChildAs);
    void walkMain(Chunk& parent);
    void walkObject(Chunk& parent, size_t object);
    void walkMaterial(Chunk& parent, size_t material);
    void readDiffuse(Chunk& chunk, MeshMaterial& material);
    void readVertices(Chunk& chunk, MeshObject& object);
    void readFaces(Chunk& chunk, MeshObject& object);
    void readFaceMaterial(Chunk& chunk, MeshObject& object);
    void readTexCoords(Chunk& chunk, MeshObject& object);

    struct DepthGuard {
        explicit DepthGuard(int& depth) : depth(depth) { ++depth; }
        ~DepthGuard() { --depth; }
        int& depth;
    };

    Model* model = nullptr;
    bool readFailed = false;  // a read came back short: every walk stops where it is
    int depth = 0;            // walks under way, one inside the other
};

// frees the arrays of every object and empties the model; the game never calls it (its models
// live for the whole run), tests and fuzzers do
void releaseModel(Model& model);
