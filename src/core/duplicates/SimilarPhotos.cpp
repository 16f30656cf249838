#include "SimilarPhotos.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace mirelo {

uint64_t SimilarPhotos::differenceHash(const uint8_t* grey)
{
    uint64_t hash = 0;
    for (int y = 0; y < kRows; ++y)
        for (int x = 0; x + 1 < kColumns; ++x)
            hash = (hash << 1) | (grey[y * kColumns + x] > grey[y * kColumns + x + 1] ? 1 : 0);
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
        if (added) distinct.push_back(int(i));
        else joins.join(found->second, int(i));
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
