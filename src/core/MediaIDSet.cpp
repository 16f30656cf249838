#include "MediaIDSet.h"

#include <bit>

namespace mirelo {

MediaIDSet::MediaIDSet(MediaItems items, const std::vector<uint64_t>& hashes) : items_(std::move(items))
{
    slots_.assign(std::bit_ceil(hashes.size() * 2 + 16), 0);
    const size_t mask = slots_.size() - 1;
    for (size_t i = 0; i < hashes.size(); ++i) {
        size_t slot = size_t(hashes[i]) & mask;
        while (slots_[slot] != 0) slot = (slot + 1) & mask;
        slots_[slot] = (hashes[i] & 0xFFFFFFFF00000000ULL) | uint64_t(i + 1);
    }
}

bool MediaIDSet::contains(std::string_view path) const { return find(path) != nullptr; }

const MediaItem* MediaIDSet::find(std::string_view path) const
{
    if (slots_.empty()) return nullptr;
    const uint64_t hash = MediaItem::hashPath(path);
    const size_t mask = slots_.size() - 1;
    for (size_t slot = size_t(hash) & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
        uint64_t value = slots_[slot];
        const MediaItem& item = items_[qsizetype((value & 0xFFFFFFFF) - 1)];
        if ((value >> 32) == (hash >> 32) && item.path() == path) return &item;
    }
    return nullptr;
}

} // namespace mirelo
