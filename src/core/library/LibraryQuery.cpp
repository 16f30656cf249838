#include "library/LibraryQuery.h"

#include "files/FileUrl.h"
#include "library/ItemOrdering.h"
#include "library/LibraryIndex.h"
#include "files/UnicodeText.h"

#include <algorithm>
#include <unordered_set>

namespace mirelo {

namespace {

bool passesSection(const MediaItem& item, LibraryMediaFilter section)
{
    switch (section) {
    case LibraryMediaFilter::all: return true;
    case LibraryMediaFilter::images: return !item.isVideo();
    case LibraryMediaFilter::videos: return item.isVideo();
    case LibraryMediaFilter::large: return item.bytes() >= kLargeFileBytes;
    case LibraryMediaFilter::duplicates: return true; // the groups decide, below
    }
    return true;
}

// The duplicates section: the groups with two or more files that passed the
// filters, one after another, ordered by the sort (by what they would free
// for the size sorts, by their first file otherwise); the copy to keep first.
void arrangeGroups(const DuplicateGroups& duplicates, const std::vector<MediaItem>& passing, MediaSort sort,
                   LibraryQueryResult& result)
{
    std::vector<std::vector<std::pair<int, MediaItem>>> buckets(duplicates.groups.size());
    for (const MediaItem& item : passing) {
        const auto [group, place] = duplicates.find(item);
        if (group >= 0) buckets[size_t(group)].push_back({place, item});
    }
    std::vector<ShownGroup> shown;
    for (size_t g = 0; g < buckets.size(); ++g) {
        auto& bucket = buckets[g];
        if (bucket.size() < 2) continue;
        std::sort(bucket.begin(), bucket.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        ShownGroup group;
        group.group = int(g);
        group.count = int(bucket.size());
        group.keeperShown = bucket.front().first == 0;
        for (size_t i = 1; i < bucket.size(); ++i) group.freed = addBytes(group.freed, bucket[i].second.bytes());
        shown.push_back(group);
    }
    auto firstOf = [&](const ShownGroup& group) -> const MediaItem& {
        return buckets[size_t(group.group)].front().second;
    };
    std::stable_sort(shown.begin(), shown.end(), [&](const ShownGroup& a, const ShownGroup& b) {
        const MediaItem &x = firstOf(a), &y = firstOf(b);
        switch (sort) {
        case MediaSort::largest:
            if (a.freed != b.freed) return a.freed > b.freed;
            break;
        case MediaSort::smallest:
            if (a.freed != b.freed) return a.freed < b.freed;
            break;
        case MediaSort::newest:
            if (x.modified() != y.modified()) return x.modified() > y.modified();
            break;
        case MediaSort::format:
            if (x.format() != y.format()) return x.format() < y.format();
            break;
        case MediaSort::name: break;
        }
        return x.name() != y.name() ? x.name() < y.name() : x.path() < y.path();
    });
    std::vector<uint64_t> hashes;
    for (ShownGroup& group : shown) {
        group.first = int(result.visible.size());
        const auto& bucket = buckets[size_t(group.group)];
        for (size_t i = 0; i < bucket.size(); ++i) {
            result.visible.append(bucket[i].second);
            hashes.push_back(bucket[i].second.pathHash());
            if (i > 0) result.storage.include(bucket[i].second);
        }
    }
    result.visibleIDs = MediaIDSet(result.visible, hashes);
    result.groups = std::move(shown);
}

// Distinct format labels, cheap for the usual handful of ASCII extensions.
class FormatSet {
public:
    void add(const MediaItem& item)
    {
        std::string_view extension = item.extension();
        if (extension.size() <= 7 && isAscii(extension)) {
            uint64_t packed = 0;
            for (char c : extension) packed = (packed << 8) | uint8_t((c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c);
            packed |= uint64_t(extension.size()) << 60; // "" and "\0" stay distinct
            if (packed == last_) return;
            last_ = packed;
            if (packed_.insert(packed).second) labels_.insert(upperCased(extension));
            return;
        }
        labels_.insert(item.format());
    }
    std::vector<std::string> sorted() const
    {
        std::vector<std::string> out(labels_.begin(), labels_.end());
        std::sort(out.begin(), out.end()); // byte order of UTF-8 is code-point order
        return out;
    }

private:
    uint64_t last_ = ~0ULL;
    std::unordered_set<uint64_t> packed_;
    std::unordered_set<std::string> labels_;
};

} // namespace

void MediaStorageSummary::include(const MediaItem& item)
{
    int64_t size = std::max<int64_t>(item.bytes(), 0);
    if (item.isVideo())
        videoBytes = addBytes(videoBytes, size);
    else if (isPdfExtension(item.extension()))
        otherBytes = addBytes(otherBytes, size);
    else
        imageBytes = addBytes(imageBytes, size);
}

namespace {

// The unsearched items of the same place, filtered by the search: their
// order stands, so nothing is sorted.
std::optional<LibraryQueryResult> searchWithin(const LibraryQueryInput& input, const ScanToken& token)
{
    const UnsearchedItems& base = *input.unsearched;
    const NameSearch search(input.search);
    LibraryQueryResult result;
    result.scopeReused = true;
    result.unsearched = input.unsearched;
    const qsizetype count = base.items.size();
    // Which items match, first: when all do, the lists and the id set are
    // shared, not made again.
    std::vector<uint32_t> matching;
    if (!search.empty()) {
        matching.reserve(size_t(count));
        for (qsizetype i = 0; i < count; ++i) {
            if (i % 256 == 0 && token.isCancelled()) return std::nullopt;
            if (search.matches(base.items[i].name())) matching.push_back(uint32_t(i));
        }
    }
    if (search.empty() || qsizetype(matching.size()) == count) {
        result.visible = base.items;
        result.visibleIDs = base.ids;
        result.storage = base.storage;
        return result;
    }
    std::vector<uint64_t> hashes;
    hashes.reserve(matching.size());
    result.visible.reserve(qsizetype(matching.size()));
    for (uint32_t i : matching) {
        const MediaItem& item = base.items[qsizetype(i)];
        result.visible.append(item);
        hashes.push_back(base.hashes[i]);
        result.storage.include(item);
    }
    if (token.isCancelled()) return std::nullopt;
    result.visibleIDs = MediaIDSet(result.visible, hashes);
    return result;
}

} // namespace

std::optional<LibraryQueryResult> LibraryQuery::run(const LibraryQueryInput& input, const ScanToken& token)
{
    if (token.isCancelled()) return std::nullopt;
    if (input.unsearched) return searchWithin(input, token);

    std::optional<std::string> scope;
    if (input.folder) scope = nfc(standardisedPath(*input.folder));
    const bool allFormats = input.format == kAllFormats;
    const NameSearch search(input.search);

    LibraryQueryResult result;
    FormatSet formats;
    if (!scope) result.scopedItems = input.items; // shared, not copied

    // Everything, by name, in a library already in name order (the usual
    // launch): the library is the list, so nothing is sorted or copied.
    if (!scope && allFormats && search.empty() && input.section == LibraryMediaFilter::all &&
        input.sort == MediaSort::name && input.itemsInNameOrder) {
        const qsizetype count = input.items.size();
        std::vector<uint64_t> hashes(static_cast<size_t>(count), 0);
        for (qsizetype i = 0; i < count; ++i) {
            if (i % 256 == 0 && token.isCancelled()) return std::nullopt;
            const MediaItem& item = input.items[i];
            formats.add(item);
            result.totalBytes = addBytes(result.totalBytes, item.bytes());
            result.storage.include(item);
            hashes[size_t(i)] = item.pathHash();
        }
        result.visible = input.items;
        result.visibleIDs = MediaIDSet(result.visible, hashes);
        if (token.isCancelled()) return std::nullopt;
        result.formats = formats.sorted();
        result.unsearched = std::make_shared<const UnsearchedItems>(
            UnsearchedItems{result.visible, std::move(hashes), result.visibleIDs, result.storage});
        return result;
    }

    const bool grouping = input.section == LibraryMediaFilter::duplicates;
    std::vector<MediaItem> passing; // the duplicates section's, in library order
    ItemOrdering ordering(input.sort, input.itemsInNameOrder);
    if (!scope && allFormats && search.empty() && input.section == LibraryMediaFilter::all)
        ordering.reserve(size_t(input.items.size()));

    std::string storage;
    const qsizetype total = input.items.size();
    for (qsizetype i = 0; i < total; ++i) {
        if (i % 128 == 0 && token.isCancelled()) return std::nullopt;
        const MediaItem& item = input.items[i];
        if (scope) {
            if (!pathIsInside(item.comparablePath(storage), *scope)) continue;
            result.scopedItems.append(item);
        }
        formats.add(item);
        result.totalBytes = addBytes(result.totalBytes, item.bytes());
        if (!passesSection(item, input.section)) continue;
        if (!allFormats && !item.hasFormat(input.format)) continue;
        if (!search.matches(item.name())) continue;
        if (grouping) {
            if (input.duplicates && input.duplicates->find(item).first >= 0) passing.push_back(item);
            continue;
        }
        ordering.add(item);
    }
    if (token.isCancelled()) return std::nullopt;
    if (grouping) {
        // Never reused for a search: a search can split a group.
        if (input.duplicates) arrangeGroups(*input.duplicates, passing, input.sort, result);
        result.formats = formats.sorted();
        return result;
    }

    try {
        ordering.sort(&token);
    } catch (const QueryCancelled&) {
        return std::nullopt;
    }

    const size_t count = ordering.size();
    std::vector<uint64_t> hashes;
    hashes.reserve(count);
    result.visible.resize(qsizetype(count));
    MediaItem* visible = result.visible.data();
    for (size_t i = 0; i < count; ++i) {
        if (i % 128 == 0 && token.isCancelled()) return std::nullopt;
        ordering.prefetch(i); // sorted order is random order in memory
        const SortEntry& entry = ordering.sorted(i);
        visible[i] = ordering.sortedItem(i);
        hashes.push_back(entry.hash);
        int64_t size = std::max<int64_t>(entry.bytes, 0);
        if (entry.video)
            result.storage.videoBytes = addBytes(result.storage.videoBytes, size);
        else if (entry.pdf)
            result.storage.otherBytes = addBytes(result.storage.otherBytes, size);
        else
            result.storage.imageBytes = addBytes(result.storage.imageBytes, size);
    }
    if (token.isCancelled()) return std::nullopt;
    result.visibleIDs = MediaIDSet(result.visible, hashes);
    if (token.isCancelled()) return std::nullopt;
    result.formats = formats.sorted();
    if (search.empty())
        result.unsearched = std::make_shared<const UnsearchedItems>(
            UnsearchedItems{result.visible, std::move(hashes), result.visibleIDs, result.storage});
    return result;
}

} // namespace mirelo
