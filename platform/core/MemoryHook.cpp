// MemoryHook: calloc/realloc with failure injection for tests.
#include "platform/core/MemoryHook.h"

#include <cstdlib>
#include <cstring>

namespace {
long countdown = 0;
bool failEverything = false;
long requested = 0;

bool injectFailure() {
    ++requested;
    if (failEverything) return true;
    if (countdown > 0 && --countdown == 0) return true;
    return false;
}
} // namespace

void* MemoryHook::allocate(std::size_t bytes) {
    if (injectFailure()) return nullptr;
    return std::calloc(bytes ? bytes : 1, 1);
}

void* MemoryHook::reallocate(void* block, std::size_t oldBytes, std::size_t newBytes) {
    if (injectFailure()) return nullptr;
    void* grown = std::realloc(block, newBytes ? newBytes : 1);
    if (grown && newBytes > oldBytes)
        std::memset(static_cast<char*>(grown) + oldBytes, 0, newBytes - oldBytes);
    return grown;
}

void MemoryHook::release(void* block) { std::free(block); }

void MemoryHook::failAfter(long n) { countdown = n > 0 ? n : 0; }

void MemoryHook::failAll(bool on) { failEverything = on; }

long MemoryHook::count() { return requested; }

void MemoryHook::resetCount() { requested = 0; }
