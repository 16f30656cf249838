#pragma once
// Where drives are mounted, and which folders of the library are on a drive
// that is away. A drive that is unmounted leaves its mount point behind as
// an empty folder of the drive above it (or removes it), and a scan there
// finds nothing; such a folder is unreachable, not emptied.

#include "library/MediaItem.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace mirelo {

class MountTable {
public:
    // The mount points of this process's mount namespace, from a
    // /proc/self/mountinfo text.
    static std::set<std::string> parse(std::string_view mountinfo);
    static std::set<std::string> current();
    // The folders that /etc/fstab mounts something on ("/" and swap excepted).
    static std::set<std::string> fstabFolders();

    // The folders of `path` where a desktop mounts drives: "/mnt" and the
    // folder just below it, "/media/X" and "/media/X/Y", "/run/media/X/Y".
    static std::vector<std::string> driveFolders(std::string_view path);

    // The folders at or below `roots` whose drive is away: none is mounted
    // now, and each either was a drive's mount point while this process ran
    // (`knownDrives`), or is where drives are mounted (fstab, or
    // `driveFolders`) and is missing or empty while `existing` holds items
    // below it. Reads the mount table and fstab.
    static std::vector<std::string> unreachable(const std::vector<std::string>& roots, const MediaItems& existing,
                                                const std::set<std::string>& knownDrives);
};

} // namespace mirelo
