// VectorState: clears the upper halves of the AVX registers before SSE-encoded hot loops.
#pragma once

// Code that used 256-bit AVX registers and returned without VZEROUPPER (some toolkit and driver
// code does) leaves the upper halves "dirty"; on many Intel processors every SSE-encoded
// instruction then pays a transition or merge penalty. The reader's scans and short copies are
// SSE-encoded, so they clear the state first. A no-op where AVX is absent or unknown.
class VectorState {
public:
    static void clearUpperHalves();
    // Makes the upper halves dirty (for benchmarks that measure the penalty).
    static void dirtyUpperHalves();
};
