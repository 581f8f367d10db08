// VectorState: VZEROUPPER on x86-64 processors with AVX, nothing elsewhere.
#include "platform/core/VectorState.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

namespace {

const bool HasAvx = __builtin_cpu_supports("avx");

__attribute__((target("avx"))) void zeroUpper() { _mm256_zeroupper(); }

// Compiled without the AVX target on purpose: the compiler then adds no VZEROUPPER after the
// instruction, so the state stays dirty.
void touchUpper() { __asm__ volatile("vpcmpeqb %%ymm15, %%ymm15, %%ymm15" ::: "xmm15"); }

} // namespace

void VectorState::clearUpperHalves() {
    if (HasAvx) zeroUpper();
}

void VectorState::dirtyUpperHalves() {
    if (HasAvx) touchUpper();
}

#else

void VectorState::clearUpperHalves() {}
void VectorState::dirtyUpperHalves() {}

#endif
