#pragma once
// The copy Mirelo suggests keeping in a group, and why: for identical
// files the one in the folder the user added first (the earliest of the
// library's folders that holds it), else the oldest; for pictures that look
// alike what a photographer keeps: the most pixels, then the file that
// carries the camera's details, then the oldest. Among files of a similar
// group that are byte for byte the same, the identical files' rule decides.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mirelo {

class DuplicateKeeper {
public:
    enum class Reason { firstFolder, oldest, largestPicture, cameraDetails };

    struct Copy {
        std::string path;
        double modified = 0; // seconds
        int64_t bytes = 0;
        int64_t pixels = 0;  // width × height, 0 when unknown
        bool camera = false; // carries the camera's make or model
        // The hash of its bytes when known: equal hashes are identical files.
        std::optional<std::pair<uint64_t, uint64_t>> content;
    };
    struct Choice {
        size_t index = 0;
        Reason reason = Reason::oldest;
    };

    // `folders`: the library's folders in the order they were added.
    static Choice exact(const std::vector<Copy>& copies, const std::vector<std::string>& folders);
    static Choice similar(const std::vector<Copy>& copies, const std::vector<std::string>& folders);
};

} // namespace mirelo
