#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrum {

class RandomSource;

// Bytes index .. index + count - 1 of the first wipe pass of a file, whose first-stage draws
// begin at `first` and second-stage draws at `second`: the same bytes as RandomCharacters and
// then ScrambleCharacters over the whole file, but any stretch can be computed on its own, and
// so on several threads at once. Uses the widest vector instructions the processor has.
void FirstPassBytes(const RandomSource& first, const RandomSource& second, std::uint64_t index,
                    unsigned char* data, std::size_t count);

}  // namespace kestrum
