#include "SimilarPhotos.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace mirelo {

namespace {

constexpr int kFrequencies = 8;

// cos((2x + 1) u π / 2N) for the lowest frequencies u.
const std::array<std::array<double, SimilarPhotos::kSide>, kFrequencies>& cosines()
{
    static const auto table = [] {
        std::array<std::array<double, SimilarPhotos::kSide>, kFrequencies> t{};
        for (int u = 0; u < kFrequencies; ++u)
            for (int x = 0; x < SimilarPhotos::kSide; ++x)
                t[size_t(u)][size_t(x)] = std::cos((2 * x + 1) * u * M_PI / (2 * SimilarPhotos::kSide));
        return t;
    }();
    return table;
}

} // namespace

uint64_t SimilarPhotos::perceptualHash(const uint8_t* grey)
{
    const auto& c = cosines();
    // Rows first: each row's lowest frequencies, then down the columns.
    double rows[kSide][kFrequencies];
    for (int y = 0; y < kSide; ++y)
        for (int u = 0; u < kFrequencies; ++u) {
            double sum = 0;
            for (int x = 0; x < kSide; ++x) sum += grey[y * kSide + x] * c[size_t(u)][size_t(x)];
            rows[y][u] = sum;
        }
    std::array<double, kFrequencies * kFrequencies> low{};
    for (int v = 0; v < kFrequencies; ++v)
        for (int u = 0; u < kFrequencies; ++u) {
            double sum = 0;
            for (int y = 0; y < kSide; ++y) sum += rows[y][u] * c[size_t(v)][size_t(y)];
            low[size_t(v * kFrequencies + u)] = sum;
        }
    // The median leaves out the mean brightness (the first coefficient).
    std::array<double, kFrequencies * kFrequencies - 1> rest{};
    std::copy(low.begin() + 1, low.end(), rest.begin());
    std::nth_element(rest.begin(), rest.begin() + rest.size() / 2, rest.end());
    const double median = rest[rest.size() / 2];
    uint64_t hash = 0;
    for (double value : low) hash = (hash << 1) | (value > median ? 1 : 0);
    return hash;
}

namespace {

class Joins {
public:
    explicit Joins(size_t count) : parent_(count) { std::iota(parent_.begin(), parent_.end(), 0); }
    int root(int i)
    {
        while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
        return i;
    }
    void join(int a, int b)
    {
        a = root(a), b = root(b);
        if (a != b) parent_[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<int> parent_;
};

} // namespace

std::vector<std::vector<int>> SimilarPhotos::group(const std::vector<uint64_t>& hashes, int within)
{
    within = std::clamp(within, 0, 31);
    // Equal hashes first: one of them stands for all in the index.
    std::unordered_map<uint64_t, int> first;
    std::vector<int> distinct;
    Joins joins(hashes.size());
    for (size_t i = 0; i < hashes.size(); ++i) {
        auto [found, added] = first.try_emplace(hashes[i], int(i));
        if (added)
            distinct.push_back(int(i));
        else
            joins.join(found->second, int(i));
    }
    const int parts = within + 1;
    for (int part = 0; part < parts && within > 0; ++part) {
        const int from = part * 64 / parts, to = (part + 1) * 64 / parts;
        const uint64_t mask = (to - from == 64 ? ~uint64_t(0) : ((uint64_t(1) << (to - from)) - 1)) << from;
        std::unordered_map<uint64_t, std::vector<int>> buckets;
        for (int i : distinct) buckets[hashes[i] & mask].push_back(i);
        for (const auto& [key, members] : buckets)
            for (size_t a = 0; a < members.size(); ++a)
                for (size_t b = a + 1; b < members.size(); ++b)
                    if (distance(hashes[members[a]], hashes[members[b]]) <= within) joins.join(members[a], members[b]);
    }
    std::unordered_map<int, std::vector<int>> byRoot;
    for (size_t i = 0; i < hashes.size(); ++i) byRoot[joins.root(int(i))].push_back(int(i));
    std::vector<std::vector<int>> groups;
    for (auto& [root, members] : byRoot)
        if (members.size() > 1) groups.push_back(std::move(members));
    std::sort(groups.begin(), groups.end());
    return groups;
}

} // namespace mirelo
