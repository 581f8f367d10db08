// Zero-filled allocation for rows, buffers and journals, with a switch that makes the n-th fail.
#pragma once

#include <cstddef>

// Every allocation whose failure the program reports (line blocks, the work buffer, the undo
// journal, filter lists) goes through here, so tests can prove the old contents survive.
class MemoryHook {
public:
    // calloc-like: zero-filled, nullptr on failure (real or injected).
    static void* allocate(std::size_t bytes);
    // Grows or shrinks a block; new bytes beyond oldBytes are zeroed. nullptr leaves `block` intact.
    static void* reallocate(void* block, std::size_t oldBytes, std::size_t newBytes);
    static void release(void* block);

    // Makes the n-th allocation from now fail (1 = the next one); 0 switches injection off.
    static void failAfter(long n);
    // Makes every allocation fail while set (for "nothing can be had" cases).
    static void failAll(bool on);
    // Allocations requested since the counter was last reset (failed ones included).
    static long count();
    static void resetCount();
};
