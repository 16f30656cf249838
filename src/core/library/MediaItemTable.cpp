#include "library/MediaItemTable.h"

#include <bit>

namespace mirelo {

void MediaItemTable::reserve(size_t expected)
{
    size_t wanted = std::bit_ceil(expected * 2 + 16);
    if (wanted <= slots_.size()) return;
    std::vector<MediaItem> old;
    old.swap(slots_);
    slots_.resize(wanted);
    count_ = 0;
    for (auto& item : old)
        if (!item.isNull()) {
            slots_[slotFor(item.path(), item.pathHash())] = std::move(item);
            ++count_;
        }
}

void MediaItemTable::grow() { reserve(slots_.size()); }

size_t MediaItemTable::slotFor(std::string_view path, uint64_t hash) const
{
    size_t mask = slots_.size() - 1;
    size_t i = size_t(hash) & mask;
    while (!slots_[i].isNull() && !(slots_[i].pathHash() == hash && slots_[i].path() == path)) i = (i + 1) & mask;
    return i;
}

bool MediaItemTable::insert(const MediaItem& item)
{
    if ((count_ + 1) * 2 > slots_.size()) grow();
    size_t i = slotFor(item.path(), item.pathHash());
    if (!slots_[i].isNull()) return false;
    slots_[i] = item;
    ++count_;
    return true;
}

void MediaItemTable::insertOrAssign(const MediaItem& item)
{
    if ((count_ + 1) * 2 > slots_.size()) grow();
    size_t i = slotFor(item.path(), item.pathHash());
    if (slots_[i].isNull()) ++count_;
    slots_[i] = item;
}

const MediaItem* MediaItemTable::find(std::string_view path, uint64_t hash) const
{
    if (slots_.empty()) return nullptr;
    size_t i = slotFor(path, hash);
    return slots_[i].isNull() ? nullptr : &slots_[i];
}

} // namespace mirelo
