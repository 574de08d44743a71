// SPDX-License-Identifier: MIT
// assets: reads a 3DS file into a Model.
//
// A chunk's bounds are checked once, when its header is read (readChild): it must hold its own
// header and end inside its parent, and the primary chunk is cut to the file. Every later read
// is clamped to the chunk it reads from, so nothing below can run past a parent or the file.
// A child that fails the check ends its parent's walk; the parent is skipped to its end and its
// own parent goes on with the next sibling, so a broken chunk costs only what it holds.
#include "assets/model_loader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "assets/model_chunks.h"
#include "platform/services.h"

uint32_t gChunkScratch[64];

namespace {

constexpr uint32_t kHeaderBytes = 6;
constexpr uint32_t kNameSize = 255;  // char[255]: 254 characters and the NUL
constexpr int32_t kNewestReadableVersion = 3;
// real files nest a handful of levels; deeper chunks are skipped whole so that no file can
// exhaust the stack
constexpr int kMaxDepth = 32;

using namespace chunk3ds;

uint32_t u32At(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

float f32At(const uint8_t* p)
{
    uint32_t bits = u32At(p);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

uint8_t colourByte(float value)
{
    if (!(value > 0.0f))  // also NaN
        return 0;
    if (value >= 1.0f)
        return 255;
    return uint8_t(std::lround(value * 255.0f));
}

void showMessage(const char* format, const char* fileName, const char* title)
{
    char text[255];
    std::snprintf(text, sizeof text, format, fileName);
    showMessageBox(text, title);
}

// a face naming a vertex the object does not have cannot be drawn
void dropBrokenFaces(MeshObject& object)
{
    int32_t kept = 0;
    for (int32_t f = 0; f < object.faceCount; ++f) {
        const MeshFace& face = object.faces[f];
        bool inside = true;
        for (int32_t index : face.vertexIndex)
            inside = inside && index >= 0 && index < object.vertexCount;
        if (inside)
            object.faces[kept++] = face;
    }
    object.faceCount = kept;
}

// Each vertex's normal points away from the sum of the unnormalised cross products of the faces
// that use it, each face counted once. One pass over the faces gathers the sums.
void computeNormals(MeshObject& object)
{
    delete[] object.normals;
    object.normals = nullptr;
    if (object.vertexCount == 0)
        return;
    std::vector<Vec3> sums(object.vertexCount, Vec3{0, 0, 0});
    std::vector<int32_t> counts(object.vertexCount, 0);
    const Vec3* v = object.vertices;
    for (int32_t f = 0; f < object.faceCount; ++f) {
        const int32_t* i = object.faces[f].vertexIndex;
        Vec3 a = vecSub(v[i[0]], v[i[2]]);
        Vec3 b = vecSub(v[i[2]], v[i[1]]);
        Vec3 n = vecCross(a, b);
        for (int corner = 0; corner < 3; ++corner) {
            bool seen = (corner > 0 && i[corner] == i[0]) || (corner > 1 && i[corner] == i[1]);
            if (seen)
                continue;
            sums[i[corner]] = vecAdd(sums[i[corner]], n);
            ++counts[i[corner]];
        }
    }
    object.normals = new Vec3[object.vertexCount];
    for (int32_t k = 0; k < object.vertexCount; ++k) {
        float c = float(-counts[k]);
        Vec3 mean{sums[k].x / c, sums[k].y / c, sums[k].z / c};
        double length = vecLength(mean);
        // unused vertices, faces that cancel and non-finite input still get a usable normal
        bool usable = counts[k] > 0 && length > 0.0 && std::isfinite(length);
        object.normals[k] = usable ? vecNormalize(mean) : Vec3{0, 1, 0};
    }
}

}  // namespace

bool ModelLoader::load(Model& target, const char* fileName)
{
    FILE* opened = std::fopen(fileName, "rb");
    if (!opened) {
        showMessage("Unable to find the file: %s!", fileName, "Error");
        return false;
    }
    bool loaded = loadFrom(target, opened, fileName);
    std::fclose(opened);
    return loaded;
}

bool ModelLoader::loadFrom(Model& target, FILE* stream, const char* fileName)
{
    file = stream;
    model = &target;
    readFailed = false;

    Chunk primary{0, 0, 0, ftello(file)};
    uint8_t header[kHeaderBytes] = {};
    size_t got = std::fread(header, 1, kHeaderBytes, file);
    primary.id = uint16_t(header[0] | header[1] << 8);
    primary.length = u32At(header + 2);
    primary.bytesRead = uint32_t(got);
    if (got < kHeaderBytes || primary.id != kPrimary) {
        showMessage("Unable to load PRIMARY chuck from file: %s!", fileName, "Error");
        model = nullptr;
        file = nullptr;
        return false;
    }
    // a primary chunk that claims more than the file holds is read as far as the file goes
    int64_t fileEnd = -1;
    if (fseeko(file, 0, SEEK_END) == 0)
        fileEnd = ftello(file);
    fseeko(file, primary.start + kHeaderBytes, SEEK_SET);
    if (fileEnd >= primary.start && int64_t(primary.length) > fileEnd - primary.start)
        primary.length = uint32_t(fileEnd - primary.start);
    if (primary.length < kHeaderBytes)
        primary.length = kHeaderBytes;

    walkMain(primary);

    for (MeshObject& object : target.objects) {
        dropBrokenFaces(object);
        computeNormals(object);
    }
    target.objectCount = int32_t(target.objects.size());
    target.materialCount = int32_t(target.materials.size());
    model = nullptr;
    file = nullptr;
    return true;
}

bool ModelLoader::readChild(Chunk& parent, Chunk& child)
{
    uint32_t room = parent.length - parent.bytesRead;
    if (readFailed || parent.bytesRead > parent.length || room < kHeaderBytes)
        return false;
    child = Chunk{0, 0, 0, parent.start + parent.bytesRead};
    uint8_t header[kHeaderBytes];
    size_t got = std::fread(header, 1, kHeaderBytes, file);
    if (got < kHeaderBytes) {
        readFailed = true;
        return false;
    }
    child.id = uint16_t(header[0] | header[1] << 8);
    child.length = u32At(header + 2);
    child.bytesRead = kHeaderBytes;
    if (child.length >= kHeaderBytes && child.length <= room)
        return true;
    parent.bytesRead += kHeaderBytes;  // the parent's walk ends with the header read
    return false;
}

uint32_t ModelLoader::readBytes(Chunk& chunk, void* into, uint32_t count)
{
    if (readFailed)
        return 0;
    count = std::min(count, chunk.length - chunk.bytesRead);
    uint32_t got = uint32_t(std::fread(into, 1, count, file));
    chunk.bytesRead += got;
    if (got < count)
        readFailed = true;
    return got;
}

// the first bytes of the body land in gChunkScratch (the version check reads them), the rest is
// passed over
void ModelLoader::skipRest(Chunk& chunk)
{
    if (!readFailed && chunk.bytesRead < chunk.length) {
        std::memset(gChunkScratch, 0, sizeof gChunkScratch);
        readBytes(chunk, gChunkScratch, sizeof gChunkScratch);
        if (chunk.bytesRead < chunk.length && fseeko(file, chunk.start + chunk.length, SEEK_SET) != 0)
            readFailed = true;
    }
    chunk.bytesRead = chunk.length;
}

// reads up to and including a NUL, never past the chunk; keeps the first size - 1 characters
uint32_t ModelLoader::readName(Chunk& chunk, char* into, uint32_t size)
{
    uint32_t length = 0;
    char c = 0;
    while (readBytes(chunk, &c, 1) == 1 && c != '\0') {
        if (length + 1 < size)
            into[length] = c;
        ++length;
    }
    into[std::min(length, size - 1)] = '\0';
    return length;
}

uint16_t ModelLoader::readCount(Chunk& chunk)
{
    uint8_t bytes[2] = {0, 0};
    if (readBytes(chunk, bytes, 2) < 2)
        return 0;
    return uint16_t(bytes[0] | bytes[1] << 8);
}

// The one walk every chunk rule uses: each well-formed child goes to readChildAs, which reads it
// whole; a broken child ends the walk, and a parent nested too deep is skipped unread.
template <class ReadChildAs>
void ModelLoader::walkChildren(Chunk& parent, ReadChildAs readChildAs)
{
    DepthGuard guard(depth);
    if (depth > kMaxDepth) {
        skipRest(parent);
        return;
    }
    while (!readFailed && parent.bytesRead < parent.length) {
        Chunk child;
        if (!readChild(parent, child)) {
            skipRest(parent);
            return;
        }
        readChildAs(child);
        parent.bytesRead += child.bytesRead;
    }
}

// objects and materials are found at any depth under the primary chunk
void ModelLoader::walkMain(Chunk& parent)
{
    walkChildren(parent, [this](Chunk& child) {
        switch (child.id) {
        case kVersion: {
            bool fourBytes = child.length - child.bytesRead == 4;
            skipRest(child);
            int32_t version = int32_t(u32At(reinterpret_cast<const uint8_t*>(gChunkScratch)));
            if (fourBytes && !readFailed && version > kNewestReadableVersion)
                showMessageBox("This 3DS file is over version 3 so it may load incorrectly",
                                   "Warning");
            break;
        }
        case kEditor: {
            // the first child is the mesh version, whatever its id says
            Chunk first;
            if (readChild(child, first)) {
                skipRest(first);
                child.bytesRead += first.bytesRead;
                walkMain(child);
            } else {
                skipRest(child);
            }
            break;
        }
        case kObject: {
            model->objects.push_back(MeshObject{});
            model->objectCount = int32_t(model->objects.size());
            readName(child, model->objects.back().name, kNameSize);
            walkObject(child, model->objects.size() - 1);
            break;
        }
        case kMaterial:
            model->materials.push_back(MeshMaterial{});
            model->materialCount = int32_t(model->materials.size());
            walkMaterial(child, model->materials.size() - 1);
            break;
        default:
            skipRest(child);
        }
    });
}

// The face reader leaves the face list's children (its material groups) unread, so this same
// loop meets them next as if they were further children of the parent.
void ModelLoader::walkObject(Chunk& parent, size_t object)
{
    walkChildren(parent, [this, object](Chunk& child) {
        MeshObject& target = model->objects[object];
        switch (child.id) {
        case kTriMesh:
            walkObject(child, object);
            break;
        case kVertices:
            readVertices(child, target);
            break;
        case kFaces:
            readFaces(child, target);
            break;
        case kFaceMaterial:
            readFaceMaterial(child, target);
            break;
        case kTexCoords:
            readTexCoords(child, target);
            break;
        default:
            skipRest(child);
        }
    });
}

void ModelLoader::walkMaterial(Chunk& parent, size_t material)
{
    walkChildren(parent, [this, material](Chunk& child) {
        MeshMaterial& target = model->materials[material];
        switch (child.id) {
        case kMaterialName:
            std::memset(target.name, 0, kNameSize);
            readBytes(child, target.name, kNameSize - 1);
            skipRest(child);
            break;
        case kDiffuse:
            readDiffuse(child, target);
            break;
        case kTextureMap:
            walkMaterial(child, material);
            break;
        case kMapFile:
            std::memset(target.textureFile, 0, kNameSize);
            readBytes(child, target.textureFile, kNameSize - 1);
            skipRest(child);
            break;
        default:
            skipRest(child);
        }
    });
}

// Only the first colour sub-chunk is read; any further one (a gamma-corrected copy) is left for
// the material walk, which skips it.
void ModelLoader::readDiffuse(Chunk& chunk, MeshMaterial& material)
{
    Chunk colour;
    if (!readChild(chunk, colour)) {
        skipRest(chunk);
        return;
    }
    if (colour.id == kColourFloat) {
        uint8_t bytes[12];
        uint32_t got = readBytes(colour, bytes, sizeof bytes);
        for (uint32_t c = 0; c < 3 && 4 * (c + 1) <= got; ++c)
            material.colour[c] = colourByte(f32At(bytes + 4 * c));
    } else {
        readBytes(colour, material.colour, 3);
    }
    skipRest(colour);
    chunk.bytesRead += colour.bytesRead;
}

void ModelLoader::readVertices(Chunk& chunk, MeshObject& object)
{
    uint16_t count = readCount(chunk);
    std::vector<uint8_t> bytes(size_t(count) * 12);
    uint32_t got = readBytes(chunk, bytes.data(), uint32_t(bytes.size()));
    skipRest(chunk);
    // vertices the chunk is too short to hold stay at the origin
    delete[] object.vertices;
    object.vertices = count ? new Vec3[count]() : nullptr;
    object.vertexCount = count;
    for (uint32_t k = 0; k < count && (k + 1) * 12 <= got; ++k) {
        const uint8_t* p = &bytes[size_t(k) * 12];
        object.vertices[k] = Vec3{f32At(p), f32At(p + 4), f32At(p + 8)};
    }
    object.minCorner = Vec3{0, 0, 0};
    for (uint32_t k = 0; k < count; ++k) {
        Vec3& v = object.vertices[k];
        if (model->swapYZ)
            v = Vec3{v.x, v.z, -v.y};
        // written so that a NaN coordinate leaves the corner alone
        if (v.x < object.minCorner.x)
            object.minCorner.x = v.x;
        if (v.y < object.minCorner.y)
            object.minCorner.y = v.y;
        if (v.z < object.minCorner.z)
            object.minCorner.z = v.z;
    }
}

// Takes only the faces the chunk really holds; whatever follows them is the chunk's children.
void ModelLoader::readFaces(Chunk& chunk, MeshObject& object)
{
    uint16_t count = readCount(chunk);
    uint32_t whole = std::min<uint32_t>(count, (chunk.length - chunk.bytesRead) / 8);
    std::vector<uint8_t> bytes(size_t(whole) * 8);
    whole = readBytes(chunk, bytes.data(), uint32_t(bytes.size())) / 8;
    delete[] object.faces;
    object.faces = whole ? new MeshFace[whole]() : nullptr;
    object.faceCount = int32_t(whole);
    for (uint32_t f = 0; f < whole; ++f) {
        const uint8_t* p = &bytes[size_t(f) * 8];
        for (int corner = 0; corner < 3; ++corner)  // the fourth word, edge visibility, is unused
            object.faces[f].vertexIndex[corner] = p[2 * corner] | p[2 * corner + 1] << 8;
    }
}

void ModelLoader::readFaceMaterial(Chunk& chunk, MeshObject& object)
{
    char name[kNameSize];
    readName(chunk, name, kNameSize);
    for (size_t i = 0; i < model->materials.size(); ++i) {
        if (std::strcmp(name, model->materials[i].name) == 0) {
            object.materialIndex = int32_t(i);
            break;
        }
        object.materialIndex = -1;
    }
    skipRest(chunk);  // the group's face numbers are not used
}

void ModelLoader::readTexCoords(Chunk& chunk, MeshObject& object)
{
    uint16_t count = readCount(chunk);
    std::vector<uint8_t> bytes(size_t(count) * 8);
    uint32_t got = readBytes(chunk, bytes.data(), uint32_t(bytes.size()));
    skipRest(chunk);
    delete[] object.texCoords;
    object.texCoords = count ? new Vec2[count]() : nullptr;
    object.texCoordCount = count;
    for (uint32_t k = 0; k < count && (k + 1) * 8 <= got; ++k) {
        const uint8_t* p = &bytes[size_t(k) * 8];
        object.texCoords[k] = Vec2{f32At(p), f32At(p + 4)};
    }
}

void releaseModel(Model& model)
{
    for (MeshObject& object : model.objects) {
        delete[] object.vertices;
        delete[] object.normals;
        delete[] object.texCoords;
        delete[] object.faces;
    }
    model.objects.clear();
    model.materials.clear();
    model.objectCount = 0;
    model.materialCount = 0;
}
