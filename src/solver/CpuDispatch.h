#pragma once
// The vector paths of the solver's core (the Bessel series, the interface system) are built twice,
// for the baseline processor and for AVX2, and the processor picks one when first called. Neither
// build uses fused multiply-add, so both give the same results. For the core's sources only.

namespace ardelon::layered {

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ARDELON_TARGET_AVX2 [[gnu::target("avx2")]]
inline bool processorHasAvx2() {
    static const bool hasAvx2 = __builtin_cpu_supports("avx2") != 0;
    return hasAvx2;
}
#else
#define ARDELON_TARGET_AVX2
inline bool processorHasAvx2() {
    return false;
}
#endif

}  // namespace ardelon::layered
