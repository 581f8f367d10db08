// MemoryHook: calloc/realloc with failure injection for tests.
#include "platform/core/MemoryHook.h"

#include <atomic>
#include <cstdlib>
#include <cstdint>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

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

#if defined(__linux__)
namespace {
constexpr std::size_t LargePage = std::size_t{2} << 20;

std::size_t wholePages(std::size_t bytes) { return (bytes + LargePage - 1) & ~(LargePage - 1); }
} // namespace

// A fresh mapping is zero already. It is taken one large page longer than needed and trimmed
// to start on a large-page boundary, the only place the kernel can put one.
void* MemoryHook::allocatePages(std::size_t bytes) {
    if (injectFailure()) return nullptr;
    const std::size_t size = wholePages(bytes ? bytes : 1);
    void* mapped = ::mmap(nullptr, size + LargePage, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + LargePage - 1) & ~(LargePage - 1);
    const std::size_t head = aligned - start;
    if (head) ::munmap(mapped, head);
    if (LargePage - head) ::munmap(reinterpret_cast<void*>(aligned + size), LargePage - head);
    void* block = reinterpret_cast<void*>(aligned);
    ::madvise(block, size, MADV_HUGEPAGE);  // a hint: without large pages it still works
    return block;
}

void MemoryHook::releasePages(void* block, std::size_t bytes) {
    if (block) ::munmap(block, wholePages(bytes ? bytes : 1));
}
#else
void* MemoryHook::allocatePages(std::size_t bytes) { return allocate(bytes); }

void MemoryHook::releasePages(void* block, std::size_t) { release(block); }
#endif

void MemoryHook::failAfter(long n) { countdown = n > 0 ? n : 0; }

void MemoryHook::failAll(bool on) { failEverything = on; }

long MemoryHook::count() { return requested; }

void MemoryHook::resetCount() { requested = 0; }
