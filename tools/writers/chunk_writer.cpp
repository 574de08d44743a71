// SPDX-License-Identifier: MIT
// tools: 3DS chunk writer.
#include "tools/writers/chunk_writer.h"

#include <cstdio>
#include <cstring>

void ChunkWriter::begin(uint16_t id)
{
    open.push_back({out.size(), true});
    u16(id);
    u32(0);
}

void ChunkWriter::beginWithLength(uint16_t id, uint32_t length)
{
    open.push_back({out.size(), false});
    u16(id);
    u32(length);
}

void ChunkWriter::end()
{
    Open chunk = open.back();
    open.pop_back();
    if (!chunk.patch)
        return;
    uint32_t length = uint32_t(out.size() - chunk.start);
    for (int i = 0; i < 4; ++i)
        out[chunk.start + 2 + i] = uint8_t(length >> (8 * i));
}

void ChunkWriter::u8(uint8_t v) { out.push_back(v); }

void ChunkWriter::u16(uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void ChunkWriter::u32(uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void ChunkWriter::f32(float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    u32(bits);
}

void ChunkWriter::str(const std::string& s)
{
    bytes(s.c_str(), s.size() + 1);
}

void ChunkWriter::bytes(const void* data, size_t count)
{
    const uint8_t* p = static_cast<const uint8_t*>(data);
    out.insert(out.end(), p, p + count);
}

bool ChunkWriter::save(const std::string& path) const
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = out.empty() || std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}
