// MemoryHook: calloc/realloc with failure injection for tests.
#include "platform/core/MemoryHook.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {
// Atomic: the open reads pieces of a file on several threads.
std::atomic<long> countdown{0};
std::atomic<bool> failEverything{false};
std::atomic<long> requested{0};

bool injectFailure() {
    requested.fetch_add(1, std::memory_order_relaxed);
    if (failEverything.load(std::memory_order_relaxed)) return true;
    long left = countdown.load(std::memory_order_relaxed);
    while (left > 0) {
        if (countdown.compare_exchange_weak(left, left - 1, std::memory_order_relaxed)) return left == 1;
    }
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
