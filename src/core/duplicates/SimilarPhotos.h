#pragma once
// Pictures that look alike: a 64-bit perceptual hash of each (the picture
// reduced to 32 × 32 grey levels, the lowest 8 × 8 frequencies of its
// cosine transform, one bit per frequency above their median), and groups
// of pictures whose hashes differ in few bits. A multi-index finds the
// close pairs without comparing every pair: the bits are cut into
// `within + 1` parts, and two hashes at most `within` bits apart agree
// exactly on one of them, so each hash meets only those sharing a part.

#include <bit>
#include <array>
#include <cstdint>
#include <vector>

namespace mirelo {

class SimilarPhotos {
public:
    static constexpr int kSide = 32; // the grey levels' square
    // How alike: "Nearly identical", "Very similar", "Similar".
    static constexpr int kNearlyIdentical = 4, kVerySimilar = 8, kSimilar = 12;

    // `grey` holds kSide × kSide levels, row by row.
    static uint64_t perceptualHash(const uint8_t* grey);
    static int distance(uint64_t a, uint64_t b) { return std::popcount(a ^ b); }

    // Indices into `hashes` joined by pairs at most `within` bits apart
    // (0 to 31), each group of two or more in ascending order, groups by
    // their first index.
    static std::vector<std::vector<int>> group(const std::vector<uint64_t>& hashes, int within);
};

} // namespace mirelo
