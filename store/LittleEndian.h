// LittleEndian: the four-byte integers (least significant byte first) of the colour file, the
// list block, the undo journal and the store's column records.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/core/FileHook.h"

namespace LittleEndian {

inline void put32(void* out, int32_t value) {
    auto* bytes = static_cast<unsigned char*>(out);
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(v >> (8 * i));
}

inline int32_t get32(const void* in) {
    const auto* bytes = static_cast<const unsigned char*>(in);
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    return static_cast<int32_t>(v);
}

inline bool write32(std::FILE* file, int32_t value) {
    unsigned char bytes[4];
    put32(bytes, value);
    return FileHook::fwrite(bytes, 1, 4, file) == 4;
}

inline bool read32(std::FILE* file, int32_t& value) {
    unsigned char bytes[4];
    if (std::fread(bytes, 1, 4, file) != 4) return false;
    value = get32(bytes);
    return true;
}

} // namespace LittleEndian
