#include "library/MountTable.h"

#include "files/FileUrl.h"
#include "library/LibraryIndex.h"

#include <dirent.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

namespace mirelo {

namespace {

// Mount tables write " ", tab, newline and "\" as octal escapes ("\040").
std::string unescaped(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
            field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
            out += char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::string_view nthField(std::string_view line, int n)
{
    for (int k = 0;; ++k) {
        while (!line.empty() && (line[0] == ' ' || line[0] == '\t')) line.remove_prefix(1);
        const size_t end = line.find_first_of(" \t");
        if (k == n) return line.substr(0, end);
        if (end == std::string_view::npos) return {};
        line.remove_prefix(end);
    }
}

std::string readWhole(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Missing, or a folder with nothing in it.
bool missingOrEmpty(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        struct stat attributes;
        return ::lstat(folder.c_str(), &attributes) != 0;
    }
    bool empty = true;
    while (dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            empty = false;
            break;
        }
    }
    ::closedir(dir);
    return empty;
}

bool atOrBelowAny(const std::string& folder, const std::vector<std::string>& roots)
{
    for (const std::string& root : roots)
        if (pathIsInside(folder, root)) return true;
    return false;
}

} // namespace

std::set<std::string> MountTable::parse(std::string_view mountinfo)
{
    std::set<std::string> points;
    while (!mountinfo.empty()) {
        const size_t end = mountinfo.find('\n');
        const std::string_view line = mountinfo.substr(0, end);
        mountinfo = end == std::string_view::npos ? std::string_view() : mountinfo.substr(end + 1);
        const std::string_view point = nthField(line, 4);
        if (!point.empty() && point[0] == '/') points.insert(standardisedPath(unescaped(point)));
    }
    return points;
}

std::set<std::string> MountTable::current() { return parse(readWhole("/proc/self/mountinfo")); }

std::set<std::string> MountTable::fstabFolders()
{
    std::set<std::string> folders;
    std::istringstream lines(readWhole("/etc/fstab"));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::string_view point = nthField(line, 1);
        if (point.size() > 1 && point[0] == '/') folders.insert(standardisedPath(unescaped(point)));
    }
    return folders;
}

std::vector<std::string> MountTable::driveFolders(std::string_view path)
{
    std::vector<std::string> folders;
    std::vector<std::string_view> parts;
    for (size_t start = 1; start < path.size();) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    auto prefix = [&](size_t count) {
        std::string folder;
        for (size_t i = 0; i < count; ++i) {
            folder += '/';
            folder += parts[i];
        }
        return folder;
    };
    // Only folders above the path itself can be drives holding it.
    if (parts.size() >= 2 && parts[0] == "mnt") {
        folders.push_back("/mnt");
        if (parts.size() >= 3) folders.push_back(prefix(2));
    }
    if (parts.size() >= 3 && parts[0] == "media") {
        folders.push_back(prefix(2));
        if (parts.size() >= 4) folders.push_back(prefix(3));
    }
    if (parts.size() >= 5 && parts[0] == "run" && parts[1] == "media") folders.push_back(prefix(4));
    return folders;
}

std::vector<std::string> MountTable::unreachable(const std::vector<std::string>& givenRoots, const MediaItems& existing,
                                                 const std::set<std::string>& knownDrives)
{
    const std::set<std::string> mounted = current(), fstab = fstabFolders();
    std::vector<std::string> roots;
    for (const std::string& root : givenRoots) roots.push_back(standardisedPath(root));
    std::set<std::string> away, checked;
    for (const std::string& drive : knownDrives)
        if (atOrBelowAny(drive, roots) && !mounted.count(drive)) away.insert(drive);

    for (const MediaItem& item : existing) {
        const std::string_view path = item.path();
        bool under = false;
        for (const std::string& root : roots)
            if (pathIsInside(path, root)) under = true;
        if (!under) continue;
        std::vector<std::string> candidates;
        if (path.starts_with("/mnt/") || path.starts_with("/media/") || path.starts_with("/run/media/"))
            candidates = driveFolders(path);
        for (const std::string& folder : fstab)
            if (path.size() > folder.size() && pathIsInside(path, folder)) candidates.push_back(folder);
        for (const std::string& folder : candidates) {
            if (!checked.insert(folder).second) continue;
            if (mounted.count(folder) || !atOrBelowAny(folder, roots)) continue;
            if (missingOrEmpty(folder)) away.insert(folder);
        }
    }
    return {away.begin(), away.end()};
}

} // namespace mirelo
