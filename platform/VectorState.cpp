#include "VectorState.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#include <immintrin.h>

namespace {

// The run-time check keeps every x86-64 processor working: the instruction
// is only reached where AVX exists and the system has enabled its state.
const bool kAvx = [] {
    __builtin_cpu_init();   // this runs among the static initialisers
    return __builtin_cpu_supports("avx") != 0;
}();

__attribute__((target("avx"))) void zeroUpper() { _mm256_zeroupper(); }

bool inUseQuery() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    // XGETBV with ECX=1 (the state-in-use bitmap): CPUID leaf 0Dh, sub-leaf 1, EAX bit 2.
    return kAvx && __get_cpuid_count(0x0D, 1, &a, &b, &c, &d) && (a & 4u) != 0;
}

const bool kInUseQuery = inUseQuery();

} // namespace

namespace plat {

void ClearUpperVectorState() {
    if (kAvx) zeroUpper();
}

bool HasInUseQuery() { return kInUseQuery; }

bool UpperVectorStateInUse() {
    if (!kInUseQuery) return false;
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1));
    return (lo & 4u) != 0;   // bit 2: the upper halves of YMM0-15
}

} // namespace plat

#else

namespace plat {

void ClearUpperVectorState() {}
bool HasInUseQuery() { return false; }
bool UpperVectorStateInUse() { return false; }

} // namespace plat

#endif
