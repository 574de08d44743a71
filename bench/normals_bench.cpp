// SPDX-License-Identifier: MIT
// bench: the vertex normals of a 20,000-face model. The loader gathers each face's cross product
// into its three corners in one pass over the faces; the literal pass looks, for every vertex,
// through every face. The load is timed whole (reading the file included), the literal pass alone.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "assets/model_loader.h"
#include "tools/writers/chunk_writer.h"

namespace {

constexpr int kSide = 101;  // 101 x 101 vertices, 100 x 100 squares of two faces
constexpr int kFaceCount = 2 * (kSide - 1) * (kSide - 1);

// a rippled sheet, so the normals differ from vertex to vertex
std::vector<uint8_t> sheetFile()
{
    using namespace chunk3ds;
    ChunkWriter w;
    w.begin(kPrimary);
    w.begin(kVersion);
    w.u32(3);
    w.end();
    w.begin(kEditor);
    w.begin(kMeshVersion);
    w.u32(3);
    w.end();
    w.begin(kObject);
    w.str("sheet");
    w.begin(kTriMesh);
    w.begin(kVertices);
    w.u16(kSide * kSide);
    for (int i = 0; i < kSide; ++i)
        for (int j = 0; j < kSide; ++j) {
            w.f32(float(i));
            w.f32(std::sin(0.3f * float(i)) * std::cos(0.2f * float(j)));
            w.f32(float(j));
        }
    w.end();
    w.begin(kFaces);
    w.u16(kFaceCount);
    for (int i = 0; i + 1 < kSide; ++i)
        for (int j = 0; j + 1 < kSide; ++j) {
            uint16_t a = uint16_t(i * kSide + j), b = uint16_t(a + 1);
            uint16_t c = uint16_t(a + kSide), d = uint16_t(c + 1);
            for (uint16_t v : {a, c, b, uint16_t(0), b, c, d, uint16_t(0)})
                w.u16(v);
        }
    w.end();
    w.end();
    w.end();
    w.end();
    w.end();
    return w.data();
}

bool load(Model& model, const std::vector<uint8_t>& bytes)
{
    FILE* stream = fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "rb");
    if (!stream)
        return false;
    ModelLoader loader;
    bool ok = loader.loadFrom(model, stream, "sheet.3DS");
    std::fclose(stream);
    return ok;
}

// the literal pass: every vertex scans every face
void literalNormals(const MeshObject& object, std::vector<Vec3>& normals)
{
    std::vector<Vec3> faceNormals(size_t(object.faceCount));
    const Vec3* v = object.vertices;
    for (int f = 0; f < object.faceCount; ++f) {
        const int32_t* i = object.faces[f].vertexIndex;
        faceNormals[size_t(f)] = vecCross(vecSub(v[i[0]], v[i[2]]), vecSub(v[i[2]], v[i[1]]));
    }
    normals.assign(size_t(object.vertexCount), Vec3{0, 0, 0});
    for (int k = 0; k < object.vertexCount; ++k) {
        Vec3 sum{0, 0, 0};
        int count = 0;
        for (int f = 0; f < object.faceCount; ++f) {
            const int32_t* i = object.faces[f].vertexIndex;
            if (i[0] == k || i[1] == k || i[2] == k) {
                sum = vecAdd(sum, faceNormals[size_t(f)]);
                ++count;
            }
        }
        if (count > 0) {
            float c = float(-count);
            normals[size_t(k)] = vecNormalize(Vec3{sum.x / c, sum.y / c, sum.z / c});
        }
    }
}

void BM_LoadWithNormals(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = sheetFile();
    for (auto _ : state) {
        Model model;
        bool ok = load(model, bytes);
        benchmark::DoNotOptimize(ok);
        state.PauseTiming();
        releaseModel(model);
        state.ResumeTiming();
    }
    state.counters["faces"] = kFaceCount;
}

void BM_LiteralNormalPass(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = sheetFile();
    Model model;
    if (!load(model, bytes) || model.objects.empty()) {
        state.SkipWithError("the sheet did not load");
        return;
    }
    const MeshObject& object = model.objects[0];
    std::vector<Vec3> normals;
    for (auto _ : state) {
        literalNormals(object, normals);
        benchmark::DoNotOptimize(normals.data());
    }
    // both passes must agree, or the comparison means nothing
    double worst = 0.0;
    for (int k = 0; k < object.vertexCount; ++k) {
        Vec3 d = vecSub(normals[size_t(k)], object.normals[k]);
        worst = std::fmax(worst, vecLength(d));
    }
    state.counters["faces"] = object.faceCount;
    state.counters["max_difference"] = worst;
    releaseModel(model);
}

}  // namespace

BENCHMARK(BM_LoadWithNormals)->Name("Normals20kFaces/Ours_LoadWhole")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiteralNormalPass)->Name("Normals20kFaces/Literal_PassAlone")->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK_MAIN();
