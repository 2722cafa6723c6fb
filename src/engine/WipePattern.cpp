#include "engine/WipePattern.h"

#include "engine/RandomSource.h"

namespace kestrum {

namespace {

// floor(255 u) through the same double operations as Next() and the byte's definition, so every
// rounding is the same. The numerator is below 2^53, so it converts exactly as a signed 64-bit
// integer, and the result fits one; both conversions have vector forms, where those of unsigned
// or 32-bit integers would cost extra steps.
inline std::uint64_t ScaledDraw(RandomSource& random) {
    const auto numerator = static_cast<std::int64_t>(random.NextNumerator());
    const double u =
        static_cast<double>(numerator) * (1.0 / static_cast<double>(RandomSource::kDenominator));
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(255.0 * u));
}

inline void FillBytes(RandomSource first, RandomSource second, unsigned char* data,
                      std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t key = ScaledDraw(second) + 17;
        data[i] = static_cast<unsigned char>(ScaledDraw(first) ^ key);
    }
}

#if defined(__GNUC__) && defined(__x86_64__)
// With 64-bit vector multiplies and conversions the compiler runs eight draws of each stage side
// by side.
#define KESTRUM_WIDE_FILL 1
__attribute__((target("avx512f,avx512dq,avx512vl,avx512bw"))) void FillBytesWide(
    RandomSource first, RandomSource second, unsigned char* data, std::size_t count) {
    FillBytes(first, second, data, count);
}

bool HasWideVectors() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
           __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw");
}
#endif

}  // namespace

void FirstPassBytes(const RandomSource& first, const RandomSource& second, std::uint64_t index,
                    unsigned char* data, std::size_t count) {
    RandomSource from = first;
    RandomSource keys = second;
    from.Discard(index);
    keys.Discard(index);
#ifdef KESTRUM_WIDE_FILL
    static const bool wide = HasWideVectors();
    if (wide) {
        FillBytesWide(from, keys, data, count);
        return;
    }
#endif
    FillBytes(from, keys, data, count);
}

}  // namespace kestrum
