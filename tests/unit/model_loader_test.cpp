// SPDX-License-Identifier: MIT
// tests: the 3DS model loader over files made by the chunk writer, well-formed and broken.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "assets/model_loader.h"
#include "tools/writers/mesh_writer.h"

using namespace chunk3ds;

namespace {

struct ObjectSpec {
    std::string name;
    std::vector<Vec3> vertices;
    std::vector<MeshTriangle> faces;
    std::string faceMaterial;  // a group nested in the face list when not empty
};

// the face list also holds smoothing groups, a chunk the reader passes over
void writeObject(ChunkWriter& w, const ObjectSpec& o)
{
    beginMeshObject(w, o.name);
    writeVertexList(w, o.vertices);
    beginFaceList(w, o.faces, o.faceMaterial);
    w.begin(kSmoothGroups);
    for (size_t f = 0; f < o.faces.size(); ++f)
        w.u32(1);
    w.end();
    w.end();
    endMeshObject(w);
}

void writeVersion(ChunkWriter& w, uint32_t version)
{
    w.begin(kVersion);
    w.u32(version);
    w.end();
}

const ObjectSpec kQuad{"Quad",
                       {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                       {{0, 1, 2}, {0, 2, 3}},
                       "Red"};

class ModelLoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("DISPLAY");  // the message boxes go to standard error and never wait
        char pattern[] = "/tmp/vx-model-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        releaseModel(model);
        std::string cleanup = "rm -rf '" + dir + "'";
        ASSERT_EQ(std::system(cleanup.c_str()), 0);
    }

    std::string save(const ChunkWriter& w, const std::string& name = "model.3ds")
    {
        std::string path = dir + "/" + name;
        EXPECT_TRUE(w.save(path));
        return path;
    }

    // loads and returns what the message boxes said
    std::string load(const std::string& path, bool swapYZ = false)
    {
        releaseModel(model);
        model.swapYZ = swapYZ;
        testing::internal::CaptureStderr();
        loaded = ModelLoader().load(model, path.c_str());
        return testing::internal::GetCapturedStderr();
    }

    // a usual file: version, editor data with its mesh version, materials before objects
    ChunkWriter usualFile(const std::vector<ObjectSpec>& objects)
    {
        ChunkWriter w;
        beginModelFile(w);
        writeMaterial(w, "Red", {200, 10, 20}, "Stucco.bmp");
        writeMaterial(w, "Green", {5, 180, 6});
        for (const ObjectSpec& o : objects)
            writeObject(w, o);
        endModelFile(w);
        return w;
    }

    std::string dir;
    Model model;
    bool loaded = false;
};

void expectVec(Vec3 a, Vec3 b, float tolerance = 0.0f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST_F(ModelLoaderTest, ReadsObjectsMaterialsAndFacesOfAUsualFile)
{
    ObjectSpec second{"Tri", {{2, 0, 0}, {3, 0, 0}, {2, 0, -1}}, {{0, 1, 2}}, "Green"};
    std::string messages = load(save(usualFile({kQuad, second})));
    EXPECT_TRUE(loaded);
    EXPECT_EQ(messages, "");
    ASSERT_EQ(model.objectCount, 2);
    ASSERT_EQ(model.materialCount, 2);
    EXPECT_STREQ(model.materials[0].name, "Red");
    EXPECT_STREQ(model.materials[0].textureFile, "Stucco.bmp");
    EXPECT_EQ(model.materials[0].colour[0], 200);
    EXPECT_EQ(model.materials[0].colour[2], 20);
    EXPECT_STREQ(model.materials[1].textureFile, "");
    const MeshObject& quad = model.objects[0];
    EXPECT_STREQ(quad.name, "Quad");
    ASSERT_EQ(quad.vertexCount, 4);
    ASSERT_EQ(quad.faceCount, 2);
    EXPECT_EQ(quad.faces[1].vertexIndex[2], 3);
    expectVec(quad.vertices[2], {1, 1, 0});
    EXPECT_EQ(quad.materialIndex, 0);
    EXPECT_EQ(model.objects[1].materialIndex, 1);
    EXPECT_EQ(quad.presetCode, 0);
}

TEST_F(ModelLoaderTest, ObjectsAndMaterialsDirectlyUnderThePrimaryChunkReadAlike)
{
    std::string usual = save(usualFile({kQuad}), "usual.3ds");
    ChunkWriter flat;
    flat.begin(kPrimary);
    writeMaterial(flat, "Red", {200, 10, 20}, "Stucco.bmp");
    writeMaterial(flat, "Green", {5, 180, 6});
    writeObject(flat, kQuad);
    flat.end();

    load(usual);
    Model first = model;
    model = Model{};
    load(save(flat, "flat.3ds"));
    ASSERT_EQ(model.objectCount, first.objectCount);
    ASSERT_EQ(model.materialCount, first.materialCount);
    EXPECT_STREQ(model.materials[1].name, first.materials[1].name);
    EXPECT_EQ(model.objects[0].materialIndex, first.objects[0].materialIndex);
    ASSERT_EQ(model.objects[0].vertexCount, first.objects[0].vertexCount);
    for (int v = 0; v < first.objects[0].vertexCount; ++v)
        expectVec(model.objects[0].vertices[v], first.objects[0].vertices[v]);
    releaseModel(first);
}

TEST_F(ModelLoaderTest, FaceMaterialGroupNamingAnUnknownMaterialGivesMinusOne)
{
    ObjectSpec lost = kQuad;
    lost.faceMaterial = "Blue";
    load(save(usualFile({lost})));
    EXPECT_EQ(model.objects[0].materialIndex, -1);

    // names are compared byte by byte, case included
    lost.faceMaterial = "red";
    load(save(usualFile({lost})));
    EXPECT_EQ(model.objects[0].materialIndex, -1);
}

TEST_F(ModelLoaderTest, FaceMaterialGroupBeforeAnyMaterialKeepsIndexZero)
{
    ChunkWriter w;
    w.begin(kPrimary);
    writeObject(w, kQuad);
    writeMaterial(w, "Red", {1, 2, 3});
    w.end();
    load(save(w));
    EXPECT_EQ(model.objects[0].materialIndex, 0);
}

TEST_F(ModelLoaderTest, DiffuseColourKeepsTheFirstOfTwoColoursAndReadsTheRest)
{
    ChunkWriter w;
    w.begin(kPrimary);
    w.begin(kMaterial);
    w.begin(kDiffuse);
    w.begin(kColour24);
    w.bytes("\x0A\x14\x1E", 3);
    w.end();
    w.begin(kColour24Gamma);
    w.bytes("\xF0\xF1\xF2", 3);
    w.end();
    w.end();
    w.begin(kMaterialName);
    w.str("Later");
    w.end();
    w.begin(kTextureMap);
    w.begin(kMapFile);
    w.str("Grass.bmp");
    w.end();
    w.end();
    w.end();
    w.end();
    load(save(w));
    ASSERT_EQ(model.materialCount, 1);
    const MeshMaterial& m = model.materials[0];
    EXPECT_EQ(m.colour[0], 10);
    EXPECT_EQ(m.colour[1], 20);
    EXPECT_EQ(m.colour[2], 30);
    EXPECT_STREQ(m.name, "Later");
    EXPECT_STREQ(m.textureFile, "Grass.bmp");
}

TEST_F(ModelLoaderTest, FloatColourIsTurnedIntoBytes)
{
    ChunkWriter w;
    w.begin(kPrimary);
    w.begin(kMaterial);
    w.begin(kDiffuse);
    w.begin(kColourFloat);
    w.f32(1.0f);
    w.f32(0.5f);
    w.f32(-3.0f);  // out of range values are clamped
    w.end();
    w.end();
    w.begin(kMaterialName);
    w.str("Float");
    w.end();
    w.end();
    w.end();
    load(save(w));
    const MeshMaterial& m = model.materials[0];
    EXPECT_EQ(m.colour[0], 255);
    EXPECT_EQ(m.colour[1], 128);
    EXPECT_EQ(m.colour[2], 0);
    EXPECT_STREQ(m.name, "Float");
}

TEST_F(ModelLoaderTest, SwapYZTurnsZUpIntoYUp)
{
    ObjectSpec o{"P", {{1, 2, 3}, {4, 5, 6}, {7, 8, 10}}, {{0, 1, 2}}, ""};
    std::string path = save(usualFile({o}));
    load(path, true);
    expectVec(model.objects[0].vertices[0], {1, 3, -2});
    expectVec(model.objects[0].minCorner, {0, 0, -8});
    load(path, false);
    expectVec(model.objects[0].vertices[0], {1, 2, 3});
}

TEST_F(ModelLoaderTest, MinCornerIsNeverAboveTheOrigin)
{
    ObjectSpec positive{"P", {{2, 3, 4}, {5, 6, 7}, {3, 9, 5}}, {{0, 1, 2}}, ""};
    ObjectSpec mixed{"M", {{-2, 3, 4}, {5, -6, 7}, {3, 9, -0.5f}}, {{0, 1, 2}}, ""};
    load(save(usualFile({positive, mixed})));
    expectVec(model.objects[0].minCorner, {0, 0, 0});
    expectVec(model.objects[1].minCorner, {-2, -6, -0.5f});
}

// the normals as the game always defined them: for each vertex, a pass over every face
std::vector<Vec3> referenceNormals(const MeshObject& o)
{
    std::vector<Vec3> faceNormals;
    for (int f = 0; f < o.faceCount; ++f) {
        const int32_t* i = o.faces[f].vertexIndex;
        faceNormals.push_back(vecCross(vecSub(o.vertices[i[0]], o.vertices[i[2]]),
                                       vecSub(o.vertices[i[2]], o.vertices[i[1]])));
    }
    std::vector<Vec3> normals;
    for (int v = 0; v < o.vertexCount; ++v) {
        Vec3 sum{0, 0, 0};
        int count = 0;
        for (int f = 0; f < o.faceCount; ++f) {
            const int32_t* i = o.faces[f].vertexIndex;
            if (i[0] == v || i[1] == v || i[2] == v) {
                sum = vecAdd(sum, faceNormals[f]);
                ++count;
            }
        }
        float c = float(-count);
        normals.push_back(vecNormalize(Vec3{sum.x / c, sum.y / c, sum.z / c}));
    }
    return normals;
}

TEST_F(ModelLoaderTest, SharedVertexNormalOpposesTheSumOfItsFacesAndALargerFaceWeighsMore)
{
    // two faces share vertices 0 and 1: one small in the y = 0 plane, one large in x = 0
    ObjectSpec o{"V", {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 3, 0}, {5, 5, 5}},
                 {{0, 1, 2}, {1, 0, 3}}, ""};
    load(save(usualFile({o})));
    const MeshObject& m = model.objects[0];
    Vec3 small = vecCross(vecSub(m.vertices[0], m.vertices[2]), vecSub(m.vertices[2], m.vertices[1]));
    Vec3 large = vecCross(vecSub(m.vertices[1], m.vertices[3]), vecSub(m.vertices[3], m.vertices[0]));
    Vec3 expected = vecNormalize(vecScale(vecAdd(small, large), -1.0f));
    expectVec(m.normals[0], expected, 1e-6f);
    expectVec(m.normals[1], expected, 1e-6f);
    EXPECT_GT(std::fabs(m.normals[0].x), std::fabs(m.normals[0].y));  // the large face leads
    expectVec(m.normals[2], vecNormalize(vecScale(small, -1.0f)), 1e-6f);
    expectVec(m.normals[4], {0, 1, 0});  // used by no face
}

TEST_F(ModelLoaderTest, NormalsMatchThePerVertexSumOnARandomMesh)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-10, 10);
    std::uniform_int_distribution<int> index(0, 59);
    ObjectSpec o{"R", {}, {}, ""};
    for (int v = 0; v < 60; ++v)
        o.vertices.push_back({coordinate(random), coordinate(random), coordinate(random)});
    for (int f = 0; f < 150; ++f)  // some faces repeat a corner: counted once for it
        o.faces.push_back({uint16_t(index(random)), uint16_t(index(random)),
                           uint16_t(f % 10 == 0 ? 5 : index(random))});
    load(save(usualFile({o})), true);
    const MeshObject& m = model.objects[0];
    std::vector<Vec3> expected = referenceNormals(m);
    for (int v = 0; v < m.vertexCount; ++v) {
        bool used = vecLength(expected[v]) > 0.5;
        Vec3 want = used ? expected[v] : Vec3{0, 1, 0};
        EXPECT_EQ(m.normals[v].x, want.x) << v;
        EXPECT_EQ(m.normals[v].y, want.y) << v;
        EXPECT_EQ(m.normals[v].z, want.z) << v;
    }
}

TEST_F(ModelLoaderTest, VersionAboveThreeWarnsOnceAndStillLoads)
{
    ChunkWriter w = usualFile({kQuad});
    std::vector<uint8_t> bytes = w.data();
    bytes[12] = 4;  // the version word follows the primary and version headers
    ChunkWriter four;
    four.bytes(bytes.data(), bytes.size());
    EXPECT_EQ(load(save(four)),
              "Warning: This 3DS file is over version 3 so it may load incorrectly\n");
    EXPECT_EQ(model.objectCount, 1);
    EXPECT_EQ(load(save(w)), "");
}

TEST_F(ModelLoaderTest, VersionInsideTheEditorDataIsCheckedToo)
{
    ChunkWriter w;
    w.begin(kPrimary);
    w.begin(kEditor);
    w.begin(kMeshVersion);
    w.u32(9);  // the first child is skipped whatever it holds
    w.end();
    writeVersion(w, 5);
    writeObject(w, kQuad);
    w.end();
    w.end();
    EXPECT_EQ(load(save(w)),
              "Warning: This 3DS file is over version 3 so it may load incorrectly\n");
    EXPECT_EQ(model.objectCount, 1);
}

TEST_F(ModelLoaderTest, MissingFileShowsTheErrorAndLeavesTheModelEmpty)
{
    std::string path = dir + "/nothing.3DS";
    EXPECT_EQ(load(path), "Error: Unable to find the file: " + path + "!\n");
    EXPECT_FALSE(loaded);
    EXPECT_EQ(model.objectCount, 0);
    EXPECT_EQ(model.materialCount, 0);
}

TEST_F(ModelLoaderTest, FileWithoutAPrimaryChunkShowsTheErrorAndLeavesTheModelEmpty)
{
    ChunkWriter w;
    w.begin(kEditor);
    writeObject(w, kQuad);
    w.end();
    std::string path = save(w);
    EXPECT_EQ(load(path), "Error: Unable to load PRIMARY chuck from file: " + path + "!\n");
    EXPECT_FALSE(loaded);
    EXPECT_EQ(model.objectCount, 0);

    ChunkWriter empty;
    EXPECT_EQ(load(save(empty)), "Error: Unable to load PRIMARY chuck from file: " + path + "!\n");
}

TEST_F(ModelLoaderTest, LongNamesAreCutTo254Characters)
{
    std::string longName(400, 'n');
    ChunkWriter w;
    w.begin(kPrimary);
    writeMaterial(w, longName, {1, 2, 3}, std::string(300, 't'));
    ObjectSpec o = kQuad;
    o.name = longName + "x";
    o.faceMaterial = longName.substr(0, 254);  // the cut names still match
    writeObject(w, o);
    w.end();
    load(save(w));
    ASSERT_EQ(model.objectCount, 1);
    EXPECT_EQ(std::string(model.objects[0].name), longName.substr(0, 254));
    EXPECT_EQ(std::string(model.materials[0].name), longName.substr(0, 254));
    EXPECT_EQ(std::string(model.materials[0].textureFile), std::string(254, 't'));
    EXPECT_EQ(model.objects[0].vertexCount, 4);  // the rest of the object is read as usual
    EXPECT_EQ(model.objects[0].materialIndex, 0);
}

TEST_F(ModelLoaderTest, VertexAndTexCoordListsLongerThanTheirCountReadOnlyTheCount)
{
    ChunkWriter w;
    w.begin(kPrimary);
    w.begin(kObject);
    w.str("Long");
    w.begin(kVertices);
    w.u16(2);
    for (int k = 0; k < 5 * 3; ++k)
        w.f32(float(k));
    w.end();
    w.begin(kTexCoords);
    w.u16(1);
    for (int k = 0; k < 7 * 2; ++k)
        w.f32(0.25f * k);
    w.end();
    w.begin(kFaces);
    w.u16(1);
    w.u16(0), w.u16(1), w.u16(0), w.u16(0);
    w.end();
    w.end();
    w.end();
    load(save(w));
    const MeshObject& o = model.objects[0];
    ASSERT_EQ(o.vertexCount, 2);
    expectVec(o.vertices[1], {3, 4, 5});
    ASSERT_EQ(o.texCoordCount, 1);
    EXPECT_EQ(o.texCoords[0].v, 0.25f);
    EXPECT_EQ(o.faceCount, 1);  // the chunk after them is still found
}

TEST_F(ModelLoaderTest, ShortVertexListLeavesTheMissingVerticesAtTheOrigin)
{
    ChunkWriter w;
    w.begin(kPrimary);
    w.begin(kObject);
    w.str("Short");
    w.begin(kVertices);
    w.u16(3);
    w.f32(1), w.f32(2), w.f32(3);
    w.end();
    w.end();
    w.end();
    load(save(w));
    const MeshObject& o = model.objects[0];
    ASSERT_EQ(o.vertexCount, 3);
    expectVec(o.vertices[0], {1, 2, 3});
    expectVec(o.vertices[2], {0, 0, 0});
}

TEST_F(ModelLoaderTest, FaceNamingAVertexOutsideItsObjectIsDropped)
{
    ObjectSpec o = kQuad;
    o.faces = {{0, 1, 2}, {0, 4, 2}, {65535, 1, 2}, {0, 2, 3}};
    load(save(usualFile({o})));
    const MeshObject& m = model.objects[0];
    ASSERT_EQ(m.faceCount, 2);
    EXPECT_EQ(m.faces[1].vertexIndex[2], 3);
    EXPECT_EQ(m.materialIndex, 0);  // the group after the faces is still read
}

TEST_F(ModelLoaderTest, FaceListShorterThanItsCountKeepsTheWholeFacesItHolds)
{
    ChunkWriter w;
    w.begin(kPrimary);
    w.begin(kObject);
    w.str("F");
    writeVertexList(w, kQuad.vertices);
    w.begin(kFaces);
    w.u16(500);
    w.u16(0), w.u16(1), w.u16(2), w.u16(0);
    w.u16(0), w.u16(2);
    w.end();
    w.end();
    writeMaterial(w, "After", {9, 9, 9});
    w.end();
    load(save(w));
    EXPECT_EQ(model.objects[0].faceCount, 1);
    ASSERT_EQ(model.materialCount, 1);
    EXPECT_STREQ(model.materials[0].name, "After");
}

TEST_F(ModelLoaderTest, BrokenChildEndsItsParentsWalkAndTheNextSiblingIsStillRead)
{
    for (uint32_t badLength : {0u, 3u, 5u, 1000u}) {
        ChunkWriter w;
        w.begin(kPrimary);
        w.begin(kObject);
        w.str("Broken");
        w.begin(kTriMesh);
        writeVertexList(w, kQuad.vertices);
        w.beginWithLength(0x4160, badLength);  // shorter than a header, or past its parent
        w.u32(0);
        w.end();
        writeVertexList<Vec3>(w, {{9, 9, 9}});  // behind the broken chunk: lost with it
        w.end();
        w.end();
        writeMaterial(w, "Next", {1, 2, 3});
        w.end();
        load(save(w));
        ASSERT_EQ(model.objectCount, 1) << badLength;
        EXPECT_EQ(model.objects[0].vertexCount, 4) << badLength;
        ASSERT_EQ(model.materialCount, 1) << badLength;
        EXPECT_STREQ(model.materials[0].name, "Next");
    }
}

TEST_F(ModelLoaderTest, TruncatedFileKeepsWhatWasReadBeforeTheCut)
{
    ObjectSpec second{"Second", {{2, 0, 0}, {3, 0, 0}, {2, 0, -1}}, {{0, 1, 2}}, "Green"};
    std::vector<uint8_t> bytes = usualFile({kQuad, second}).data();
    for (size_t cut = 0; cut < bytes.size(); cut += 7) {
        ChunkWriter w;
        w.bytes(bytes.data(), cut);
        load(save(w));
        EXPECT_EQ(loaded, cut >= 6) << cut;
        EXPECT_LE(model.objectCount, 2);
    }
    // the chunk that runs past the end is lost, the ones before it are whole
    ChunkWriter flat;
    flat.begin(kPrimary);
    writeMaterial(flat, "Red", {200, 10, 20});
    writeObject(flat, kQuad);
    writeObject(flat, second);
    flat.end();
    ChunkWriter cut;
    cut.bytes(flat.data().data(), flat.data().size() - 30);
    load(save(cut));
    ASSERT_EQ(model.objectCount, 1);
    EXPECT_EQ(model.objects[0].vertexCount, 4);
    EXPECT_EQ(model.objects[0].faceCount, 2);
    EXPECT_EQ(model.materialCount, 1);
}

TEST_F(ModelLoaderTest, DeeplyNestedChunksAreSkippedRatherThanExhaustTheStack)
{
    ChunkWriter w;
    w.begin(kPrimary);
    w.begin(kObject);
    w.str("Deep");
    for (int level = 0; level < 200000; ++level)
        w.begin(kTriMesh);
    writeVertexList<Vec3>(w, {{1, 2, 3}});
    for (int level = 0; level < 200000; ++level)
        w.end();
    w.end();
    writeMaterial(w, "After", {1, 2, 3});
    w.end();
    load(save(w));
    ASSERT_EQ(model.objectCount, 1);
    EXPECT_EQ(model.objects[0].vertexCount, 0);
    ASSERT_EQ(model.materialCount, 1);
    EXPECT_STREQ(model.materials[0].name, "After");
}

TEST_F(ModelLoaderTest, PrimaryChunkClaimingMoreThanTheFileIsReadToTheEnd)
{
    ChunkWriter w;
    w.beginWithLength(kPrimary, 0xFFFFFFFF);
    writeObject(w, kQuad);
    w.end();
    load(save(w));
    ASSERT_EQ(model.objectCount, 1);
    EXPECT_EQ(model.objects[0].faceCount, 2);
}

}  // namespace
