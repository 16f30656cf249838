#include "DuplicateKeeper.h"

#include <algorithm>
#include <optional>

namespace mirelo {

namespace {

// The position of the earliest folder holding `path`, or folders.size().
size_t folderRank(const std::string& path, const std::vector<std::string>& folders)
{
    for (size_t i = 0; i < folders.size(); ++i) {
        const std::string& folder = folders[i];
        if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
            (folder.ends_with('/') || path[folder.size()] == '/'))
            return i;
    }
    return folders.size();
}

// Of two copies otherwise alike: the shorter name ("IMG_1.jpg" before
// "IMG_1 copy.jpg"), then the path.
bool plainer(const std::string& a, const std::string& b)
{
    const size_t nameA = a.size() - a.rfind('/'), nameB = b.size() - b.rfind('/');
    return nameA != nameB ? nameA < nameB : a < b;
}

} // namespace

DuplicateKeeper::Choice DuplicateKeeper::exact(const std::vector<Copy>& copies, const std::vector<std::string>& folders)
{
    Choice choice;
    if (copies.empty()) return choice;
    std::vector<size_t> ranks;
    for (const Copy& copy : copies) ranks.push_back(folderRank(copy.path, folders));
    const size_t best = *std::min_element(ranks.begin(), ranks.end());
    const bool decides = best < folders.size() && std::count(ranks.begin(), ranks.end(), best) == 1;
    if (decides) return {size_t(std::find(ranks.begin(), ranks.end(), best) - ranks.begin()), Reason::firstFolder};
    // Among the copies in the first folder (or all), the oldest; then by path.
    for (size_t i = 1; i < copies.size(); ++i) {
        const Copy &a = copies[i], &b = copies[choice.index];
        if (ranks[i] != ranks[choice.index]) {
            if (ranks[i] < ranks[choice.index]) choice.index = i;
            continue;
        }
        if (a.modified != b.modified) {
            if (a.modified < b.modified) choice.index = i;
            continue;
        }
        // Made at the same moment (copied keeping the time).
        if (plainer(a.path, b.path)) choice.index = i;
    }
    choice.reason = Reason::oldest;
    return choice;
}

DuplicateKeeper::Choice DuplicateKeeper::similar(const std::vector<Copy>& copies)
{
    if (copies.empty()) return {0, Reason::largestPicture};
    int64_t largest = 0;
    for (const Copy& copy : copies) largest = std::max(largest, copy.pixels);
    auto density = [](const Copy& copy) { return copy.pixels > 0 ? double(copy.bytes) / double(copy.pixels) : 0.0; };
    std::optional<size_t> best;
    int sharing = 0;
    for (size_t i = 0; i < copies.size(); ++i) {
        if (copies[i].pixels != largest) continue;
        ++sharing;
        if (!best) {
            best = i;
            continue;
        }
        const Copy &a = copies[i], &b = copies[*best];
        if (density(a) != density(b)) {
            if (density(a) > density(b)) best = i;
        } else if (plainer(a.path, b.path)) {
            best = i;
        }
    }
    return {*best, sharing > 1 ? Reason::leastCompressed : Reason::largestPicture};
}

} // namespace mirelo
