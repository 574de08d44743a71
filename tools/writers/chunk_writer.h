// SPDX-License-Identifier: MIT
// tools: writes 3DS chunk trees byte by byte, for the asset generator and for tests that need
// well-formed or deliberately broken model files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "assets/model_chunks.h"  // the chunk ids, chunk3ds::k...

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
