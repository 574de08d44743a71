// tools: writes 3DS chunk trees byte by byte, for the asset generator and for tests that need
// well-formed or deliberately broken model files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class ChunkWriter {
public:
    // opens a chunk; its length is filled in by the matching end()
    void begin(uint16_t id);
    // opens a chunk whose length field is written as given and never corrected (for broken files)
    void beginWithLength(uint16_t id, uint32_t length);
    void end();

    void u8(uint8_t v);
    void u16(uint16_t v);
    void u32(uint32_t v);
    void f32(float v);
    void str(const std::string& s);  // with its terminating NUL
    void bytes(const void* data, size_t count);

    const std::vector<uint8_t>& data() const { return out; }
    bool save(const std::string& path) const;

private:
    struct Open {
        size_t start;
        bool patch;
    };
    std::vector<uint8_t> out;
    std::vector<Open> open;
};

// chunk ids the game's reader knows
namespace chunk3ds {
constexpr uint16_t kPrimary = 0x4D4D;
constexpr uint16_t kVersion = 0x0002;
constexpr uint16_t kEditor = 0x3D3D;
constexpr uint16_t kMeshVersion = 0x3D3E;
constexpr uint16_t kObject = 0x4000;
constexpr uint16_t kTriMesh = 0x4100;
constexpr uint16_t kVertices = 0x4110;
constexpr uint16_t kFaces = 0x4120;
constexpr uint16_t kFaceMaterial = 0x4130;
constexpr uint16_t kTexCoords = 0x4140;
constexpr uint16_t kSmoothGroups = 0x4150;
constexpr uint16_t kMaterial = 0xAFFF;
constexpr uint16_t kMaterialName = 0xA000;
constexpr uint16_t kDiffuse = 0xA020;
constexpr uint16_t kTextureMap = 0xA200;
constexpr uint16_t kMapFile = 0xA300;
constexpr uint16_t kColourFloat = 0x0010;
constexpr uint16_t kColour24 = 0x0011;
constexpr uint16_t kColour24Gamma = 0x0012;
}  // namespace chunk3ds
