#pragma once
// Sorting machinery shared by the sort orders and the query: entries carry
// what the comparator needs so that it never recomputes it.

#include "MediaItem.h"
#include "MediaSort.h"
#include "ScanToken.h"

#include <string>
#include <vector>

namespace mirelo {

struct SortEntry {
    const MediaItem* item;
    int64_t bytes;
    Date modified;
    uint32_t keyOffset = 0; // name sort key in the arena
    uint32_t keyLength = 0;
    uint32_t formatOffset = 0; // format label in the arena
    uint32_t formatLength = 0;
};

struct QueryCancelled {};

class ItemOrdering {
public:
    explicit ItemOrdering(MediaSort sort) : sort_(sort) {}
    void add(const MediaItem& item);
    size_t size() const { return entries_.size(); }
    // Sorts the entries; throws QueryCancelled when the token is cancelled
    // (polled every 128 comparisons).
    void sort(const ScanToken* token);
    const std::vector<SortEntry>& entries() const { return entries_; }

private:
    bool before(const SortEntry& a, const SortEntry& b) const;
    std::string_view key(const SortEntry& e) const { return {arena_.data() + e.keyOffset, e.keyLength}; }
    std::string_view format(const SortEntry& e) const { return {arena_.data() + e.formatOffset, e.formatLength}; }
    MediaSort sort_;
    bool keyed_ = false;
    std::vector<SortEntry> entries_;
    std::string arena_;
};

} // namespace mirelo
