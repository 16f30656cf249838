#pragma once
// The copy Mirelo suggests keeping in a group, and why: for identical
// files the one in the folder the user added first (the earliest of the
// library's folders that holds it), else the oldest; for pictures that look
// alike the largest picture, then the least compressed.

#include <cstdint>
#include <string>
#include <vector>

namespace mirelo {

class DuplicateKeeper {
public:
    enum class Reason { firstFolder, oldest, largestPicture, leastCompressed };

    struct Copy {
        std::string path;
        double modified = 0;   // seconds
        int64_t bytes = 0;
        int64_t pixels = 0;    // width × height, 0 when unknown
    };
    struct Choice {
        size_t index = 0;
        Reason reason = Reason::oldest;
    };

    // `folders`: the library's folders in the order they were added.
    static Choice exact(const std::vector<Copy>& copies, const std::vector<std::string>& folders);
    static Choice similar(const std::vector<Copy>& copies);
};

} // namespace mirelo
