#pragma once
// A flat hash set of items keyed by path (the item id), using the hash each
// item carries. Lookups and inserts cost no allocation beyond the table.

#include "library/MediaItem.h"

#include <string_view>
#include <vector>

namespace mirelo {

class MediaItemTable {
public:
    MediaItemTable() = default;
    explicit MediaItemTable(size_t expected) { reserve(expected); }

    void reserve(size_t expected);
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }

    // Adds the item unless one with its path is present; true when added.
    bool insert(const MediaItem& item);
    // Adds the item, replacing one with the same path.
    void insertOrAssign(const MediaItem& item);
    const MediaItem* find(std::string_view path) const { return find(path, MediaItem::hashPath(path)); }
    const MediaItem* find(std::string_view path, uint64_t hash) const;
    bool contains(std::string_view path) const { return find(path) != nullptr; }
    bool contains(const MediaItem& item) const { return find(item.path(), item.pathHash()) != nullptr; }

    template <typename F>
    void forEach(F&& f) const
    {
        for (const auto& slot : slots_)
            if (!slot.isNull()) f(slot);
    }

private:
    size_t slotFor(std::string_view path, uint64_t hash) const;
    void grow();
    std::vector<MediaItem> slots_;
    size_t count_ = 0;
};

} // namespace mirelo
