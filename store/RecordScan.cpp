// RecordScan: counts quotes sixteen or thirty-two bytes at a time and finds record starts.
#include "store/RecordScan.h"

#include <cstdint>

#if defined(__x86_64__) && defined(__GNUC__)
#define VEXIL_RECORD_SCAN_X86 1
#include <immintrin.h>
#endif

namespace RecordScan {
namespace {

std::size_t countQuotesScalar(const char* text, std::size_t length) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < length; ++i) count += text[i] == '"';
    return count;
}

#ifdef VEXIL_RECORD_SCAN_X86
std::size_t countQuotesSse2(const char* text, std::size_t length) {
    const __m128i quote = _mm_set1_epi8('"');
    std::size_t count = 0, i = 0;
    for (; i + 16 <= length; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        count += static_cast<std::size_t>(
            __builtin_popcount(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, quote)))));
    }
    return count + countQuotesScalar(text + i, length - i);
}

__attribute__((target("avx2,popcnt"))) std::size_t countQuotesAvx2(const char* text,
                                                                   std::size_t length) {
    const __m256i quote = _mm256_set1_epi8('"');
    std::size_t count = 0, i = 0;
    for (; i + 32 <= length; i += 32) {
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i));
        count += static_cast<std::size_t>(_mm_popcnt_u32(
            static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, quote)))));
    }
    return count + countQuotesSse2(text + i, length - i);
}

bool hasAvx2() {
    static const bool present = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
    return present;
}
#endif

} // namespace

std::size_t countQuotes(const char* text, std::size_t length) {
#ifdef VEXIL_RECORD_SCAN_X86
    return hasAvx2() ? countQuotesAvx2(text, length) : countQuotesSse2(text, length);
#else
    return countQuotesScalar(text, length);
#endif
}

const char* vectorKind() {
#ifdef VEXIL_RECORD_SCAN_X86
    return hasAvx2() ? "avx2" : "sse2";
#else
    return "scalar";
#endif
}

std::size_t nextRecordStart(const char* text, std::size_t length, std::size_t from,
                            std::size_t quotesBefore, bool quotesMatter) {
    bool inside = quotesMatter && quotesBefore % 2 == 1;
    for (std::size_t i = from; i < length; ++i) {
        const char c = text[i];
        if (c == '"') {
            inside = quotesMatter && !inside;
        } else if ((c == '\r' || c == '\n') && !inside) {
            if (c == '\n') return i + 1;
            if (i + 1 >= length) return length;
            return text[i + 1] == '\n' ? i + 2 : i + 1;
        }
    }
    return length;
}

} // namespace RecordScan
