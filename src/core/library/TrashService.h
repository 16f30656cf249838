#pragma once
// The only place where the application removes user files: it never deletes,
// it moves files to the desktop's trash (the freedesktop.org trash that file
// managers share) and can move them back. Files are reached by the exact
// bytes of their names, which need not be valid UTF-8.

#include <cstdint>
#include <string>
#include <vector>

namespace mirelo {

struct TrashRecord {
    std::string original; // where the file goes back to
    std::string trashed;  // where it is inside the trash
    // What the trash knows the file by: the location its listing names and
    // the file's identity, so that Undo never takes another file for it.
    std::string listed;
    uint64_t device = 0;
    uint64_t inode = 0;
    // A file system may give a freed inode to a new file of the same name:
    // its size and change time, as they were right after the move, tell.
    // A file with other names (hard links) has its change time moved by
    // their trashing and restoring too: its modification time tells then.
    int64_t size = 0;
    int64_t changedSeconds = 0;
    int64_t changedNanoseconds = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;
    bool operator==(const TrashRecord&) const = default;
};

struct TrashResult {
    std::vector<TrashRecord> records;  // one per file that reached the trash
    std::vector<std::string> failures; // "name: why", one per file that did not
};

struct TrashRestoreResult {
    std::vector<std::string> restored;  // originals back in place
    std::vector<TrashRecord> remaining; // kept for a later attempt
    std::vector<std::string> failures;  // one per remaining record
};

class TrashService {
public:
    // Each distinct path once, in the order given; a file the trash cannot
    // take stays where it is.
    static TrashResult move(const std::vector<std::string>& paths);
    // Moves files back without ever replacing what is at the original place,
    // and removes their entries from the trash's listing. A file is moved
    // back only while the trash still holds the very file that was put there.
    static TrashRestoreResult restore(const std::vector<TrashRecord>& records);
};

} // namespace mirelo
