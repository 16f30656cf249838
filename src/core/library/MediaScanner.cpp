#include "library/MediaScanner.h"

#include "files/FileUrl.h"
#include "library/MediaFormats.h"
#include "library/MediaItemTable.h"
#include "library/MediaSort.h"
#include "files/UserFolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace mirelo {

namespace {

std::string joined(std::string_view folder, std::string_view name)
{
    std::string path;
    path.reserve(folder.size() + name.size() + 1);
    path += folder;
    if (path.empty() || path.back() != '/') path += '/';
    path += name;
    return path;
}

// Is the open folder the top of a mounted file system?
bool isMountPoint(int fd)
{
    struct stat folder {
    }, parent{};
    if (::fstat(fd, &folder) != 0 || ::fstatat(fd, "..", &parent, 0) != 0) return false;
    return folder.st_dev != parent.st_dev || folder.st_ino == parent.st_ino;
}

class Walk {
public:
    Walk(bool recursive, const ScanToken& token, const std::function<void(int)>& progress)
        : recursive_(recursive), token_(token), progress_(progress), home_(homeFolder()), programs_(programsFolder())
    {
    }

    void root(const std::string& given)
    {
        std::string path = absoluteStandardisedPath(given);
        struct stat attributes {};
        if (::fstatat(AT_FDCWD, path.c_str(), &attributes, AT_SYMLINK_NOFOLLOW) != 0 || S_ISLNK(attributes.st_mode)) {
            ++inaccessible_;
            return;
        }
        if (!S_ISDIR(attributes.st_mode)) {
            if (auto item = MediaItem::read(path)) add(std::move(*item));
            return;
        }
        // Folders still to walk, last first; each is opened by path so that
        // only one folder is open at a time, however deep the tree.
        std::vector<std::string> pending{path};
        while (!pending.empty() && !stopped_) {
            std::string folder = std::move(pending.back());
            pending.pop_back();
            size_t before = pending.size();
            folderContents(folder, pending);
            std::reverse(pending.begin() + ptrdiff_t(before), pending.end());
        }
    }

    ScanResult finish()
    {
        if (progress_) progress_(int(items_.size()));
        ScanResult result;
        result.items = MediaSorts::ordered(items_, MediaSort::name);
        result.inaccessible = inaccessible_;
        result.cancelled = token_.isCancelled();
        return result;
    }

    bool stopped() const { return stopped_ || token_.isCancelled(); }

private:
    void add(MediaItem item)
    {
        if (seen_.insert(item)) items_.append(std::move(item));
    }

    void visitEntry(int fd, const char* name, std::string path, unsigned char type, const struct stat* known,
                    std::vector<std::string>& pending)
    {
        std::string_view nameView(name);
        if (type == DT_DIR) {
            if (recursive_ && !MediaScanner::isPackageName(nameView)) pending.push_back(std::move(path));
            return;
        }
        if (type != DT_REG && type != DT_UNKNOWN) return;
        struct stat attributes {};
        if (known) {
            attributes = *known;
        } else {
            // Only media files need their size and date.
            if (!MediaFormats::classify(fd, nameView, path).accepted) return;
            if (::fstatat(fd, name, &attributes, AT_SYMLINK_NOFOLLOW) != 0) return;
        }
        if (auto item = MediaItem::fromEntry(fd, nameView, path, attributes)) add(std::move(*item));
    }

    void folderContents(const std::string& folder, std::vector<std::string>& pending)
    {
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            ++inaccessible_;
            return;
        }
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            ::close(fd);
            ++inaccessible_;
            return;
        }
        const bool inHome = folder == home_;
        for (;;) {
            errno = 0;
            dirent* entry = ::readdir(dir);
            if (!entry) {
                if (errno != 0) ++inaccessible_;
                break;
            }
            const char* name = entry->d_name;
            if (name[0] == '.') continue; // hidden entries, "." and ".."
            if (token_.isCancelled()) {
                stopped_ = true;
                break;
            }
            std::string_view nameView(name);
            std::string path = joined(folder, nameView);
            if (inHome && path == programs_) continue;
            // A file system's own lost+found, at its top, is skipped like a hidden folder.
            if (nameView == "lost+found" && isMountPoint(fd)) continue;

            unsigned char type = entry->d_type;
            struct stat attributes {};
            bool haveAttributes = false;
            if (type == DT_UNKNOWN) {
                haveAttributes = ::fstatat(fd, name, &attributes, AT_SYMLINK_NOFOLLOW) == 0;
                if (haveAttributes) type = IFTODT(attributes.st_mode);
            }
            if (type == DT_LNK) continue; // links are never followed
            ++visits_;
            visitEntry(fd, name, std::move(path), type, haveAttributes ? &attributes : nullptr, pending);
            if (visits_ % 200 == 0 && progress_) progress_(int(items_.size()));
        }
        ::closedir(dir);
    }

    bool recursive_;
    const ScanToken& token_;
    const std::function<void(int)>& progress_;
    std::string home_, programs_;
    MediaItems items_;
    MediaItemTable seen_;
    int inaccessible_ = 0;
    long visits_ = 0;
    bool stopped_ = false;
};

} // namespace

bool MediaScanner::isPackageName(std::string_view name)
{
    static constexpr std::array<std::string_view, 12> kPackages = {
        "app",  "bundle",    "photoslibrary", "fcpbundle",     "framework", "plugin",
        "kext", "xcodeproj", "xcarchive",     "imovielibrary", "tvlibrary", "musiclibrary"};
    std::string lower(pathExtension(name));
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return std::find(kPackages.begin(), kPackages.end(), lower) != kPackages.end();
}

ScanResult MediaScanner::scan(const std::vector<std::string>& roots, bool recursive, const ScanToken& token,
                              const std::function<void(int)>& progress)
{
    Walk walk(recursive, token, progress);
    for (const std::string& root : roots) {
        if (walk.stopped()) break;
        walk.root(root);
    }
    return walk.finish();
}

} // namespace mirelo
