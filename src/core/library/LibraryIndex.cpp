#include "library/LibraryIndex.h"

#include "files/FileUrl.h"
#include "library/ItemOrdering.h"
#include "library/MediaItemTable.h"
#include "library/MediaSort.h"
#include "files/UnicodeText.h"

#include <algorithm>

namespace mirelo {

namespace {

std::string comparable(std::string_view path) { return nfc(standardisedPath(path)); }

std::vector<std::string> comparableAll(const std::vector<std::string>& paths)
{
    std::vector<std::string> out;
    out.reserve(paths.size());
    for (const auto& p : paths) out.push_back(comparable(p));
    return out;
}

bool insideAny(std::string_view path, const std::vector<std::string>& folders)
{
    for (const auto& folder : folders)
        if (pathIsInside(path, folder)) return true;
    return false;
}

} // namespace

bool pathIsInside(std::string_view path, std::string_view folder)
{
    if (path == folder) return true;
    if (folder == "/") return path.starts_with('/');
    return path.size() > folder.size() && path[folder.size()] == '/' && path.starts_with(folder);
}

bool LibraryIndex::contains(std::string_view path, std::string_view folder)
{
    return pathIsInside(comparable(path), comparable(folder));
}

std::string LibraryIndex::remap(std::string_view path, std::string_view from, std::string_view to)
{
    std::string standard = standardisedPath(path);
    std::string oldFolder = standardisedPath(from);
    std::string newFolder = standardisedPath(to);
    std::string_view remainder;
    std::string normalizedPath;
    if (pathIsInside(standard, oldFolder)) {
        remainder = std::string_view(standard).substr(oldFolder == "/" ? 0 : oldFolder.size());
    } else {
        normalizedPath = nfc(standard);
        std::string normalizedFolder = nfc(oldFolder);
        if (!pathIsInside(normalizedPath, normalizedFolder)) return std::string(path);
        remainder = std::string_view(normalizedPath).substr(normalizedFolder == "/" ? 0 : normalizedFolder.size());
    }
    if (remainder.empty()) return newFolder;
    return standardisedPath(newFolder + (remainder.front() == '/' ? "" : "/") + std::string(remainder));
}

MediaItems LibraryIndex::merging(const MediaItems& scanned, const MediaItems& existing,
                                 const std::vector<std::string>& roots, bool replace, bool recursive,
                                 const std::vector<std::string>& preserving)
{
    // A scanned record replaces an existing one for the same location.
    MediaItemTable fresh(size_t(scanned.size()));
    for (const MediaItem& item : scanned) fresh.insertOrAssign(item);

    const std::vector<std::string> rootPaths = comparableAll(roots);
    const std::vector<std::string> keptPaths = comparableAll(preserving);
    auto dropped = [&](const MediaItem& item) {
        if (!replace || rootPaths.empty()) return false;
        std::string storage;
        std::string_view path = item.comparablePath(storage);
        if (insideAny(path, keptPaths)) return false;
        if (recursive) return insideAny(path, rootPaths);
        std::string_view parent = parentPath(path);
        for (const auto& root : rootPaths)
            if (parent == root) return true;
        return false;
    };

    // Existing items that stay, in library order.
    std::vector<const MediaItem*> kept;
    kept.reserve(size_t(existing.size()));
    for (const MediaItem& item : existing)
        if (!fresh.contains(item) && !dropped(item)) kept.push_back(&item);

    MediaItems added;
    added.reserve(qsizetype(fresh.size()));
    fresh.forEach([&](const MediaItem& item) { added.append(item); });
    added = MediaSorts::ordered(added, MediaSort::name);

    // The library is normally in name order already: then the new items are
    // only inserted, instead of sorting everything again. In name order two
    // records of one location are neighbours; the later one wins.
    bool ordered = true;
    std::vector<const MediaItem*> unique;
    unique.reserve(kept.size());
    for (size_t i = 0; i < kept.size() && ordered; ++i) {
        int c = i + 1 < kept.size() ? compareByName(*kept[i], *kept[i + 1]) : -1;
        ordered = c <= 0;
        if (c < 0) unique.push_back(kept[i]);
    }
    MediaItems merged;
    merged.reserve(qsizetype(kept.size()) + added.size());
    if (!ordered) {
        MediaItemTable seen(kept.size());
        for (auto it = kept.rbegin(); it != kept.rend(); ++it)
            if (seen.insert(**it)) merged.append(**it);
        merged.append(added);
        return MediaSorts::ordered(merged, MediaSort::name);
    }
    kept.swap(unique);
    auto next = kept.begin();
    for (const MediaItem& item : added) {
        auto position = std::upper_bound(
            next, kept.end(), &item, [](const MediaItem* a, const MediaItem* b) { return compareByName(*a, *b) < 0; });
        for (; next != position; ++next) merged.append(**next);
        merged.append(item);
    }
    for (; next != kept.end(); ++next) merged.append(**next);
    return merged;
}

} // namespace mirelo
