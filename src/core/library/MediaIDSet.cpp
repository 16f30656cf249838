#include "library/MediaIDSet.h"

#include <bit>

namespace mirelo {

MediaIDSet::MediaIDSet(MediaItems items, const std::vector<uint64_t>& hashes) : items_(std::move(items))
{
    auto slots = std::make_shared<std::vector<uint64_t>>(std::bit_ceil(hashes.size() * 2 + 16), 0);
    const size_t mask = slots->size() - 1;
    uint64_t* table = slots->data();
    for (size_t i = 0; i < hashes.size(); ++i) {
        size_t slot = size_t(hashes[i]) & mask;
        while (table[slot] != 0) slot = (slot + 1) & mask;
        table[slot] = (hashes[i] & 0xFFFFFFFF00000000ULL) | uint64_t(i + 1);
    }
    slots_ = std::move(slots);
}

bool MediaIDSet::contains(std::string_view path) const { return find(path) != nullptr; }

const MediaItem* MediaIDSet::find(std::string_view path) const
{
    if (!slots_ || slots_->empty()) return nullptr;
    const uint64_t hash = MediaItem::hashPath(path);
    const std::vector<uint64_t>& table = *slots_;
    const size_t mask = table.size() - 1;
    for (size_t slot = size_t(hash) & mask; table[slot] != 0; slot = (slot + 1) & mask) {
        uint64_t value = table[slot];
        const MediaItem& item = items_[qsizetype((value & 0xFFFFFFFF) - 1)];
        if ((value >> 32) == (hash >> 32) && item.path() == path) return &item;
    }
    return nullptr;
}

} // namespace mirelo
