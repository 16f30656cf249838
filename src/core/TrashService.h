#pragma once
// The only place where the application removes user files: it never deletes,
// it moves files to the desktop's trash (freedesktop.org trash) and can move
// them back.

#include <string>
#include <vector>

namespace mirelo {

struct TrashRecord {
    std::string original; // where the file was
    std::string trashed;  // where it is inside the trash
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
    // and removes their entries from the trash's listing.
    static TrashRestoreResult restore(const std::vector<TrashRecord>& records);
};

} // namespace mirelo
