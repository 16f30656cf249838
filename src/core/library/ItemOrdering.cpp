#include "library/ItemOrdering.h"

#include "files/UnicodeText.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <thread>
#include <bit>

namespace mirelo {

bool isPdfExtension(std::string_view extension)
{
    if (extension.size() != 3) return false;
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return lower(extension[0]) == 'p' && lower(extension[1]) == 'd' && lower(extension[2]) == 'f';
}

void ItemOrdering::add(const MediaItem& item)
{
    SortEntry entry{&item,           item.bytes(),   item.modified(),
                    item.pathHash(), item.isVideo(), isPdfExtension(item.extension())};
    // Name and format orders compare names on most comparisons: precompute
    // collation keys. The other orders compare names only on ties.
    if ((sort_ == MediaSort::name && !presorted_) || sort_ == MediaSort::format) {
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

namespace {

// The first eight bytes, big-endian, so that integer order is byte order.
uint64_t bytePrefix(std::string_view bytes)
{
    uint64_t key = 0;
    for (size_t i = 0; i < 8; ++i) key = (key << 8) | (i < bytes.size() ? uint8_t(bytes[i]) : 0);
    return key;
}

uint64_t orderedBits(int64_t value) { return uint64_t(value) ^ (1ULL << 63); }

uint64_t orderedBits(double value)
{
    uint64_t bits = std::bit_cast<uint64_t>(value);
    return (bits >> 63) ? ~bits : bits | (1ULL << 63);
}

} // namespace

uint64_t ItemOrdering::primaryKey(const SortEntry& e) const
{
    switch (sort_) {
    case MediaSort::name: return bytePrefix(key(e));
    case MediaSort::largest: return ~orderedBits(e.bytes);
    case MediaSort::smallest: return orderedBits(e.bytes);
    case MediaSort::newest: return ~orderedBits(e.modified);
    case MediaSort::format: return bytePrefix(format(e));
    }
    return 0;
}

int ItemOrdering::compare(const SortEntry& a, const SortEntry& b) const
{
    switch (sort_) {
    case MediaSort::name: break;
    case MediaSort::largest:
        if (a.bytes != b.bytes) return a.bytes > b.bytes ? -1 : 1;
        break;
    case MediaSort::smallest:
        if (a.bytes != b.bytes) return a.bytes < b.bytes ? -1 : 1;
        break;
    case MediaSort::newest:
        if (a.modified != b.modified) return a.modified > b.modified ? -1 : 1;
        break;
    case MediaSort::format:
        if (int c = format(a).compare(format(b)); c != 0) return c;
        break;
    }
    int byName = keyed_ ? key(a).compare(key(b)) : compareNames(a.item->name(), b.item->name());
    if (byName != 0) return byName;
    return a.item->path().compare(b.item->path());
}

void ItemOrdering::sort(const ScanToken* token)
{
    const size_t count = entries_.size();
    ranked_.resize(count);
    if (presorted_) {
        for (size_t i = 0; i < count; ++i) ranked_[i] = {0, entries_[i].item, uint32_t(i)};
        return;
    }
    for (size_t i = 0; i < count; ++i) ranked_[i] = {primaryKey(entries_[i]), entries_[i].item, uint32_t(i)};
    auto cancelled = [&] { return token && token->isCancelled(); };

    // Radix sort on the key, least significant byte first; each pass is
    // stable, so equal keys keep library order. Bytes that all keys share
    // cost nothing.
    constexpr int kDigitBits = 8; // few enough write streams for the caches
    constexpr size_t kDigits = size_t(1) << kDigitBits;
    std::vector<Ranked> buffer(count);
    std::vector<size_t> counts(kDigits + 1);
    for (int shift = 0; shift < 64; shift += kDigitBits) {
        if (cancelled()) throw QueryCancelled{};
        std::fill(counts.begin(), counts.end(), 0);
        for (const Ranked& r : ranked_) ++counts[((r.key >> shift) & (kDigits - 1)) + 1];
        if (std::any_of(counts.begin() + 1, counts.end(), [&](size_t c) { return c == count; })) continue;
        for (size_t b = 0; b < kDigits; ++b) counts[b + 1] += counts[b];
        for (size_t i = 0; i < count; ++i) {
            if (i % 65536 == 0 && cancelled()) throw QueryCancelled{};
            const Ranked& r = ranked_[i];
            buffer[counts[(r.key >> shift) & (kDigits - 1)]++] = r;
        }
        ranked_.swap(buffer);
    }

    // Runs of equal keys are ordered by the whole comparison; library order
    // decides only between records of one location.
    uint32_t calls = 0;
    auto before = [&](const Ranked& a, const Ranked& b) {
        if (token && ++calls % 128 == 0 && token->isCancelled()) throw QueryCancelled{};
        if (int c = compare(entries_[a.index], entries_[b.index]); c != 0) return c < 0;
        return a.index < b.index;
    };
    for (size_t start = 0; start < count;) {
        size_t end = start + 1;
        while (end < count && ranked_[end].key == ranked_[start].key) ++end;
        if (end - start > 1) std::sort(ranked_.begin() + ptrdiff_t(start), ranked_.begin() + ptrdiff_t(end), before);
        start = end;
    }
}

void ItemOrdering::prefetch(size_t i) const
{
    if (i + 32 < ranked_.size()) {
        __builtin_prefetch(ranked_[i + 32].item);
        __builtin_prefetch(&entries_[ranked_[i + 32].index]);
    }
    if (i + 16 < ranked_.size()) ranked_[i + 16].item->prefetch();
}

int compareByName(const MediaItem& a, const MediaItem& b)
{
    if (int c = compareNames(a.name(), b.name()); c != 0) return c;
    return a.path().compare(b.path());
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
    ordering.reserve(size_t(items.size()));
    for (const MediaItem& item : items) ordering.add(item);
    ordering.sort(nullptr);
    MediaItems out;
    out.reserve(items.size());
    for (size_t i = 0; i < ordering.size(); ++i) out.append(ordering.sortedItem(i));
    return out;
}

bool MediaSorts::inNameOrder(const MediaItems& items)
{
    auto ordered = [&](qsizetype begin, qsizetype end, const std::atomic<bool>& failed) {
        for (qsizetype i = std::max<qsizetype>(begin, 1); i < end; ++i) {
            if (i % 4096 == 0 && failed.load(std::memory_order_relaxed)) return false;
            if (compareByName(items[i - 1], items[i]) > 0) return false;
        }
        return true;
    };
    std::atomic<bool> failed{false};
    const qsizetype count = items.size();
    const unsigned threads = std::thread::hardware_concurrency();
    if (count < 100'000 || threads < 2) return ordered(0, count, failed);
    // Large libraries: check the two halves at once (each pair is compared once).
    const qsizetype middle = count / 2;
    auto second = std::async(std::launch::async, [&] {
        bool ok = ordered(middle, count, failed);
        if (!ok) failed = true;
        return ok;
    });
    bool first = ordered(0, middle, failed);
    if (!first) failed = true;
    return second.get() && first;
}

} // namespace mirelo
