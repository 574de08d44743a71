// SPDX-License-Identifier: MIT
// tests: the model loader against an independent 3DS reader (lib3ds) on the same files: files
// from our chunk writer, and files that lib3ds itself writes.
#include <gtest/gtest.h>

#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "assets/model_loader.h"
#include "tools/writers/mesh_writer.h"

using namespace chunk3ds;

namespace {

struct MaterialSpec {
    std::string name;
    std::array<uint8_t, 3> rgb;
    std::string texture;
};

struct ObjectSpec {
    std::string name;
    std::vector<Vec3> vertices;
    std::vector<Vec2> texCoords;
    std::vector<MeshTriangle> faces;
    std::string material;
};

struct SceneSpec {
    std::vector<MaterialSpec> materials;
    std::vector<ObjectSpec> objects;
};

SceneSpec randomScene(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> coordinate(-50, 50);
    std::uniform_int_distribution<int> byte(0, 255);
    SceneSpec scene;
    for (int m = 0; m < 3; ++m) {
        MaterialSpec spec{"Mat" + std::to_string(m), {}, m == 1 ? "" : "tex" + std::to_string(m) + ".bmp"};
        for (uint8_t& c : spec.rgb)
            c = uint8_t(byte(random));
        scene.materials.push_back(spec);
    }
    int objects = 1 + int(random() % 4);
    for (int o = 0; o < objects; ++o) {
        ObjectSpec spec;
        spec.name = "Obj" + std::to_string(o);
        int vertices = 3 + int(random() % 200);
        for (int v = 0; v < vertices; ++v) {
            spec.vertices.push_back({coordinate(random), coordinate(random), coordinate(random)});
            spec.texCoords.push_back({coordinate(random) / 50, coordinate(random) / 50});
        }
        std::uniform_int_distribution<int> index(0, vertices - 1);
        int faces = 1 + int(random() % 300);
        for (int f = 0; f < faces; ++f)
            spec.faces.push_back({uint16_t(index(random)), uint16_t(index(random)),
                                  uint16_t(index(random))});
        spec.material = scene.materials[random() % 3].name;
        scene.objects.push_back(spec);
    }
    return scene;
}

// the usual layout: version, editor data with its mesh version, materials, then objects
ChunkWriter writeScene(const SceneSpec& scene)
{
    ChunkWriter w;
    beginModelFile(w);
    for (const MaterialSpec& m : scene.materials)
        writeMaterial(w, m.name, m.rgb, m.texture);
    for (const ObjectSpec& o : scene.objects) {
        beginMeshObject(w, o.name);
        writeVertexList(w, o.vertices);
        w.begin(kTexCoords);
        w.u16(uint16_t(o.texCoords.size()));
        for (const Vec2& t : o.texCoords)
            w.f32(t.u), w.f32(t.v);
        w.end();
        writeFaceList(w, o.faces, o.material);
        endMeshObject(w);
    }
    endModelFile(w);
    return w;
}

class Lib3dsCrossCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("DISPLAY");
        char pattern[] = "/tmp/vx-lib3ds-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        releaseModel(model);
        std::string cleanup = "rm -rf '" + dir + "'";
        ASSERT_EQ(std::system(cleanup.c_str()), 0);
    }

    // reads the file with both readers and compares everything both of them keep
    void compareReaders(const std::string& path)
    {
        testing::internal::CaptureStderr();
        ASSERT_TRUE(ModelLoader().load(model, path.c_str()));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // no box shown
        Lib3dsFile* theirs = lib3ds_file_load(path.c_str());
        ASSERT_NE(theirs, nullptr);

        int theirMaterials = 0;
        for (Lib3dsMaterial* m = theirs->materials; m; m = m->next)
            ++theirMaterials;
        ASSERT_EQ(model.materialCount, theirMaterials);
        for (const MeshMaterial& ours : model.materials) {
            Lib3dsMaterial* m = lib3ds_file_material_by_name(theirs, ours.name);
            ASSERT_NE(m, nullptr) << ours.name;
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(ours.colour[c], std::lround(m->diffuse[c] * 255.0f)) << ours.name;
            EXPECT_STREQ(ours.textureFile, m->texture1_map.name) << ours.name;
        }

        int theirMeshes = 0;
        for (Lib3dsMesh* m = theirs->meshes; m; m = m->next)
            ++theirMeshes;
        ASSERT_EQ(model.objectCount, theirMeshes);
        for (const MeshObject& ours : model.objects)
            compareObject(ours, lib3ds_file_mesh_by_name(theirs, ours.name));
        lib3ds_file_free(theirs);
    }

    void compareObject(const MeshObject& ours, const Lib3dsMesh* mesh)
    {
        ASSERT_NE(mesh, nullptr) << ours.name;
        ASSERT_EQ(uint32_t(ours.vertexCount), mesh->points) << ours.name;
        for (int v = 0; v < ours.vertexCount; ++v) {
            EXPECT_EQ(ours.vertices[v].x, mesh->pointL[v].pos[0]);
            EXPECT_EQ(ours.vertices[v].y, mesh->pointL[v].pos[1]);
            EXPECT_EQ(ours.vertices[v].z, mesh->pointL[v].pos[2]);
        }
        ASSERT_EQ(uint32_t(ours.texCoordCount), mesh->texels) << ours.name;
        for (int t = 0; t < ours.texCoordCount; ++t) {
            EXPECT_EQ(ours.texCoords[t].u, mesh->texelL[t][0]);
            EXPECT_EQ(ours.texCoords[t].v, mesh->texelL[t][1]);
        }
        ASSERT_EQ(uint32_t(ours.faceCount), mesh->faces) << ours.name;
        for (int f = 0; f < ours.faceCount; ++f) {
            for (int corner = 0; corner < 3; ++corner)
                EXPECT_EQ(ours.faces[f].vertexIndex[corner], mesh->faceL[f].points[corner]);
            // each object here has one material group covering every face
            ASSERT_GE(ours.materialIndex, 0) << ours.name;
            EXPECT_STREQ(model.materials[ours.materialIndex].name, mesh->faceL[f].material);
        }
    }

    std::string dir;
    Model model;
};

TEST_F(Lib3dsCrossCheck, FilesFromOurWriterReadAlike)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        std::string path = dir + "/scene" + std::to_string(seed) + ".3ds";
        ASSERT_TRUE(writeScene(randomScene(seed)).save(path));
        releaseModel(model);
        compareReaders(path);
    }
}

// builds the scene in lib3ds's own records and lets lib3ds write the file
std::string saveWithLib3ds(const SceneSpec& scene, const std::string& path)
{
    Lib3dsFile* file = lib3ds_file_new();
    for (const MaterialSpec& spec : scene.materials) {
        Lib3dsMaterial* m = lib3ds_material_new();
        std::strncpy(m->name, spec.name.c_str(), sizeof m->name - 1);
        for (int c = 0; c < 3; ++c)
            m->diffuse[c] = spec.rgb[c] / 255.0f;
        m->diffuse[3] = 1.0f;
        std::strncpy(m->texture1_map.name, spec.texture.c_str(), sizeof m->texture1_map.name - 1);
        lib3ds_file_insert_material(file, m);
    }
    for (const ObjectSpec& spec : scene.objects) {
        Lib3dsMesh* mesh = lib3ds_mesh_new(spec.name.c_str());
        lib3ds_mesh_new_point_list(mesh, Lib3dsDword(spec.vertices.size()));
        for (size_t v = 0; v < spec.vertices.size(); ++v) {
            mesh->pointL[v].pos[0] = spec.vertices[v].x;
            mesh->pointL[v].pos[1] = spec.vertices[v].y;
            mesh->pointL[v].pos[2] = spec.vertices[v].z;
        }
        lib3ds_mesh_new_texel_list(mesh, Lib3dsDword(spec.texCoords.size()));
        for (size_t t = 0; t < spec.texCoords.size(); ++t) {
            mesh->texelL[t][0] = spec.texCoords[t].u;
            mesh->texelL[t][1] = spec.texCoords[t].v;
        }
        lib3ds_mesh_new_face_list(mesh, Lib3dsDword(spec.faces.size()));
        for (size_t f = 0; f < spec.faces.size(); ++f) {
            for (int corner = 0; corner < 3; ++corner)
                mesh->faceL[f].points[corner] = spec.faces[f][corner];
            std::strncpy(mesh->faceL[f].material, spec.material.c_str(),
                         sizeof mesh->faceL[f].material - 1);
        }
        lib3ds_file_insert_mesh(file, mesh);
    }
    bool saved = lib3ds_file_save(file, path.c_str());
    lib3ds_file_free(file);
    return saved ? path : "";
}

TEST_F(Lib3dsCrossCheck, FilesThatLib3dsWritesReadAlike)
{
    for (unsigned seed = 20; seed < 26; ++seed) {
        SCOPED_TRACE(seed);
        SceneSpec scene = randomScene(seed);
        std::string path = saveWithLib3ds(scene, dir + "/lib3ds" + std::to_string(seed) + ".3ds");
        ASSERT_FALSE(path.empty());
        releaseModel(model);
        compareReaders(path);
        // and what we read is the scene that was written
        ASSERT_EQ(size_t(model.materialCount), scene.materials.size());
        for (const ObjectSpec& spec : scene.objects) {
            const MeshObject* ours = nullptr;
            for (const MeshObject& o : model.objects)
                if (spec.name == o.name)
                    ours = &o;
            ASSERT_NE(ours, nullptr) << spec.name;
            ASSERT_EQ(size_t(ours->vertexCount), spec.vertices.size());
            EXPECT_EQ(ours->vertices[1].y, spec.vertices[1].y);
            EXPECT_STREQ(model.materials[ours->materialIndex].name, spec.material.c_str());
        }
    }
}

}  // namespace
