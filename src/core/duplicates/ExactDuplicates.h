#pragma once
// Files with identical bytes, found the way careful tools find them: by size
// first (from the library, without touching the disk), then by a hash of the
// first and last 4 KiB, then by reading the files that are still alike
// together, chunk by chunk, comparing their bytes and hashing them
// (XXH3-128) as they go. Every file is read at most once, a few groups at a
// time on several threads; hard links to one file count as one file.
//
// With a fingerprint cache, files whose whole-content hash is known and
// still valid are grouped by it without being read: their bytes were
// compared when the hash was made.

#include "duplicates/FingerprintCache.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mirelo {

struct ExactGroup {
    int64_t size = 0;               // of each copy
    std::vector<std::string> paths; // one per file, in the order given
    // Other names of the files in `paths` (hard links), by index in paths.
    std::vector<std::vector<std::string>> links;
};

class ExactDuplicates {
public:
    struct File {
        std::string path;
        int64_t size = 0;
    };
    struct Options {
        int threads = 4;                   // files read at once, each from start to end
        FingerprintCache* cache = nullptr; // read and updated when given
        const std::atomic<bool>* stop = nullptr;
        // Files dealt with so far (of those that share a size), from any thread.
        std::function<void(int64_t done, int64_t total)> progress;
        // Each group as soon as it is confirmed, from any thread, one at a time.
        std::function<void(const ExactGroup& group)> found;
    };
    struct Result {
        std::vector<ExactGroup> groups; // larger copies first, then by first path
        std::vector<std::string> unreadable;
        int64_t filesRead = 0; // opened for their bytes (a partial read counts)
        bool stopped = false;
    };

    // Empty files are left out: all of them are alike and none frees anything.
    static Result find(const std::vector<File>& files, const Options& options);
    // The XXH3-128 of one file's bytes; nothing when it can't be read or a
    // stop came (seen within 64 KiB).
    static std::optional<ContentHash> contentHash(const std::string& path, const std::atomic<bool>* stop = nullptr);
};

} // namespace mirelo
