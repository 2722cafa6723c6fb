#include "engine/WipePattern.h"

#include "engine/RandomSource.h"

namespace kestrum {

namespace {

// The plain loop: the byte is computed as its definition reads, through the double.
inline unsigned ScaledDraw(RandomSource& random, bool throughDouble) {
    return throughDouble ? static_cast<unsigned>(static_cast<int>(255.0 * random.Next()))
                         : ScaledNumerator(random.NextNumerator());
}

inline void FillBytes(RandomSource first, RandomSource second, unsigned char* data,
                      std::size_t count, bool throughDouble) {
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned key = (ScaledDraw(second, throughDouble) + 17) & 0xFFu;
        data[i] = static_cast<unsigned char>(ScaledDraw(first, throughDouble) ^ key);
    }
}

#if defined(__GNUC__) && defined(__x86_64__)
// With 64-bit vector multiplies the compiler runs eight draws of each stage side by side; the
// integer scaling keeps them in vector registers, where the double would need conversions.
#define KESTRUM_WIDE_FILL 1
__attribute__((target("avx512f,avx512dq,avx512vl,avx512bw"))) void FillBytesWide(
    RandomSource first, RandomSource second, unsigned char* data, std::size_t count) {
    FillBytes(first, second, data, count, false);
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
    FillBytes(from, keys, data, count, true);
}

}  // namespace kestrum
