#include "ItemOrdering.h"

#include "UnicodeText.h"

#include <algorithm>

namespace mirelo {

void ItemOrdering::add(const MediaItem& item)
{
    SortEntry entry{&item, item.bytes(), item.modified()};
    // Name and format orders compare names on most comparisons: precompute
    // collation keys. The other orders compare names only on ties.
    if (sort_ == MediaSort::name || sort_ == MediaSort::format) {
        keyed_ = true;
        entry.keyOffset = uint32_t(arena_.size());
        appendNameSortKey(arena_, item.name());
        entry.keyLength = uint32_t(arena_.size() - entry.keyOffset);
    }
    if (sort_ == MediaSort::format) {
        std::string label = item.format();
        entry.formatOffset = uint32_t(arena_.size());
        entry.formatLength = uint32_t(label.size());
        arena_ += label;
    }
    entries_.push_back(entry);
}

bool ItemOrdering::before(const SortEntry& a, const SortEntry& b) const
{
    switch (sort_) {
    case MediaSort::name: break;
    case MediaSort::largest:
        if (a.bytes != b.bytes) return a.bytes > b.bytes;
        break;
    case MediaSort::smallest:
        if (a.bytes != b.bytes) return a.bytes < b.bytes;
        break;
    case MediaSort::newest:
        if (a.modified != b.modified) return a.modified > b.modified;
        break;
    case MediaSort::format: {
        int c = format(a).compare(format(b));
        if (c != 0) return c < 0;
        break;
    }
    }
    int byName = keyed_ ? key(a).compare(key(b)) : compareNames(a.item->name(), b.item->name());
    if (byName != 0) return byName < 0;
    return a.item->path() < b.item->path();
}

void ItemOrdering::sort(const ScanToken* token)
{
    if (!token) {
        std::stable_sort(entries_.begin(), entries_.end(),
                         [this](const SortEntry& a, const SortEntry& b) { return before(a, b); });
        return;
    }
    uint32_t calls = 0;
    std::stable_sort(entries_.begin(), entries_.end(), [&](const SortEntry& a, const SortEntry& b) {
        if (++calls % 128 == 0 && token->isCancelled()) throw QueryCancelled{};
        return before(a, b);
    });
}

std::string_view MediaSorts::rawValue(MediaSort sort)
{
    switch (sort) {
    case MediaSort::name: return "Name";
    case MediaSort::largest: return "Largest first";
    case MediaSort::smallest: return "Smallest first";
    case MediaSort::newest: return "Newest first";
    case MediaSort::format: return "File format";
    }
    return "Name";
}

std::optional<MediaSort> MediaSorts::fromRawValue(std::string_view raw)
{
    for (MediaSort sort : allCases)
        if (rawValue(sort) == raw) return sort;
    return std::nullopt;
}

MediaItems MediaSorts::ordered(const MediaItems& items, MediaSort sort)
{
    ItemOrdering ordering(sort);
    for (const MediaItem& item : items) ordering.add(item);
    ordering.sort(nullptr);
    MediaItems out;
    out.reserve(items.size());
    for (const SortEntry& e : ordering.entries()) out.append(*e.item);
    return out;
}

} // namespace mirelo
