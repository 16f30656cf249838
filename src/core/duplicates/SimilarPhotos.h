#pragma once
// Pictures that look alike: a 64-bit difference hash of each (the picture
// reduced to 9 × 8 grey levels, one bit per pair of neighbours across), and
// groups of pictures whose hashes differ in few bits. A multi-index finds the
// close pairs without comparing every pair: the bits are cut into
// `within + 1` parts, and two hashes at most `within` bits apart agree
// exactly on one of them, so each hash meets only those sharing a part.

#include <bit>
#include <cstdint>
#include <vector>

namespace mirelo {

class SimilarPhotos {
public:
    static constexpr int kColumns = 9, kRows = 8;
    // How alike: "Nearly identical", "Very similar", "Similar".
    static constexpr int kNearlyIdentical = 4, kVerySimilar = 8, kSimilar = 12;

    // `grey` holds kColumns × kRows levels, row by row; a bit is set where a
    // level is brighter than its right neighbour.
    static uint64_t differenceHash(const uint8_t* grey);
    static int distance(uint64_t a, uint64_t b) { return std::popcount(a ^ b); }

    // Indices into `hashes` joined by pairs at most `within` bits apart
    // (0 to 31), each group of two or more in ascending order, groups by
    // their first index.
    static std::vector<std::vector<int>> group(const std::vector<uint64_t>& hashes, int within);
};

} // namespace mirelo
