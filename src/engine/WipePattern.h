#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrum {

class RandomSource;

// floor(255 u) for the draw u = numerator / 2^53, bit for bit what truncating the double product
// 255.0 * u gives, computed in integers. The product 255 * numerator needs up to 61 bits and the
// double keeps 53, so it rounds to the nearest multiple of its last place, 2^(bits - 53), ties to
// even; that lifts it to the next multiple of 2^53 (the next integer of 255 u) exactly when its
// low 53 bits are at least half a last place short of it. Adding half a last place and
// truncating does the same. Half a last place is the highest power of two of the integer part.
constexpr unsigned ScaledNumerator(std::uint64_t numerator) {
    const std::uint64_t product = (numerator << 8) - numerator;
    std::uint64_t whole = product >> 53;  // below 255, and 0 while the product is exact
    whole |= whole >> 1;
    whole |= whole >> 2;
    whole |= whole >> 4;
    const std::uint64_t halfLastPlace = whole - (whole >> 1);
    return static_cast<unsigned>((product + halfLastPlace) >> 53);
}

// Bytes index .. index + count - 1 of the first wipe pass of a file, whose first-stage draws
// begin at `first` and second-stage draws at `second`: the same bytes as RandomCharacters and
// then ScrambleCharacters over the whole file, but any stretch can be computed on its own, and
// so on several threads at once. Uses the processor's widest vector instructions it has.
void FirstPassBytes(const RandomSource& first, const RandomSource& second, std::uint64_t index,
                    unsigned char* data, std::size_t count);

}  // namespace kestrum
