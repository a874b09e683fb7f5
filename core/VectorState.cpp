#include "VectorState.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define SWEEPDRAW_X86 1
#endif

namespace sweepdraw {

namespace {

bool processorHasAvx() noexcept
{
#ifdef SWEEPDRAW_X86
    return __builtin_cpu_supports("avx");
#else
    return false;
#endif
}

bool g_clearing = processorHasAvx();

#ifdef SWEEPDRAW_X86
// Built for AVX on its own, so that the rest of the program stays baseline
// x86-64 and runs on a processor without it; only called where it has AVX.
[[gnu::target("avx")]] void zeroUpper() noexcept
{
    _mm256_zeroupper();
}
#endif

} // namespace

bool clearUpperVectorState() noexcept
{
#ifdef SWEEPDRAW_X86
    if (g_clearing) {
        zeroUpper();
        return true;
    }
#endif
    return false;
}

bool upperVectorStateClearing() noexcept
{
    return g_clearing;
}

void setUpperVectorStateClearing(bool enabled) noexcept
{
    g_clearing = enabled && processorHasAvx();
}

} // namespace sweepdraw
