#pragma once
// Sorting machinery shared by the sort orders and the query: entries carry
// what the comparator needs so that it never recomputes it.

#include "library/MediaItem.h"
#include "library/MediaSort.h"
#include "work/ScanToken.h"

#include <string>
#include <vector>

namespace mirelo {

// Is this the extension of a PDF document (any case)?
bool isPdfExtension(std::string_view extension);

struct SortEntry {
    const MediaItem* item;
    int64_t bytes;
    Date modified;
    uint64_t hash;
    bool video;
    bool pdf;
    uint32_t keyOffset = 0; // name sort key in the arena
    uint32_t keyLength = 0;
    uint32_t formatOffset = 0; // format label in the arena
    uint32_t formatLength = 0;
};

struct QueryCancelled {};

// The name order of two items: names, then paths.
int compareByName(const MediaItem& a, const MediaItem& b);

class ItemOrdering {
public:
    // `presorted`: the items will be added in the order of `sort` already
    // (only used for the name order, which the library is normally in).
    explicit ItemOrdering(MediaSort sort, bool presorted = false)
        : sort_(sort), presorted_(presorted && sort == MediaSort::name)
    {
    }
    void reserve(size_t count) { entries_.reserve(count); }
    void add(const MediaItem& item);
    size_t size() const { return entries_.size(); }
    // Orders the entries as a stable sort would; throws QueryCancelled when
    // the token is cancelled (polled every 128 comparisons).
    void sort(const ScanToken* token);
    // The i-th entry in sorted order (after sort()).
    const SortEntry& sorted(size_t i) const { return entries_[ranked_[i].index]; }
    const MediaItem& sortedItem(size_t i) const { return *ranked_[i].item; }
    // Hints the processor to fetch what sorted(i) will need.
    void prefetch(size_t i) const;

private:
    struct Ranked {
        uint64_t key; // order-preserving prefix of the full comparison
        const MediaItem* item;
        uint32_t index;
    };
    uint64_t primaryKey(const SortEntry& e) const;
    int compare(const SortEntry& a, const SortEntry& b) const;
    std::string_view key(const SortEntry& e) const { return {arena_.data() + e.keyOffset, e.keyLength}; }
    std::string_view format(const SortEntry& e) const { return {arena_.data() + e.formatOffset, e.formatLength}; }
    MediaSort sort_;
    bool presorted_;
    bool keyed_ = false;
    std::vector<SortEntry> entries_;
    std::vector<Ranked> ranked_;
    std::string arena_;
};

} // namespace mirelo
