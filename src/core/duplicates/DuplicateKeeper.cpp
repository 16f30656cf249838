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

DuplicateKeeper::Choice DuplicateKeeper::similar(const std::vector<Copy>& copies,
                                                 const std::vector<std::string>& folders)
{
    if (copies.empty()) return {0, Reason::largestPicture};
    auto same = [](const Copy& a, const Copy& b) { return a.content && a.content == b.content; };
    // The picture to keep: the most pixels, the camera's details, the oldest.
    auto better = [](const Copy& a, const Copy& b) {
        if (a.pixels != b.pixels) return a.pixels > b.pixels;
        if (a.camera != b.camera) return a.camera;
        if (a.modified != b.modified) return a.modified < b.modified;
        return plainer(a.path, b.path);
    };
    size_t best = 0;
    for (size_t i = 1; i < copies.size(); ++i)
        if (better(copies[i], copies[best])) best = i;
    // What sets it apart from the best of the pictures that differ from it.
    std::optional<size_t> runnerUp;
    std::vector<Copy> identical;
    std::vector<size_t> places;
    for (size_t i = 0; i < copies.size(); ++i) {
        if (i == best || same(copies[i], copies[best])) {
            identical.push_back(copies[i]);
            places.push_back(i);
        } else if (!runnerUp || better(copies[i], copies[*runnerUp])) {
            runnerUp = i;
        }
    }
    if (!runnerUp) {
        // Every file the same bytes: kept as an identical copy would be.
        return exact(copies, folders);
    }
    const Copy &kept = copies[best], &other = copies[*runnerUp];
    const Reason reason = kept.pixels != other.pixels   ? Reason::largestPicture
                          : kept.camera != other.camera ? Reason::cameraDetails
                                                        : Reason::oldest;
    if (identical.size() == 1) return {best, reason};
    return {places[exact(identical, folders).index], reason};
}

} // namespace mirelo
