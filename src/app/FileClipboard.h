#pragma once
// Puts file locations on the clipboard the way file managers read them.

#include <string>
#include <vector>

namespace mirelo {

struct FileClipboard {
    // text/uri-list, x-special/gnome-copied-files and plain text. True when
    // the clipboard holds them afterwards.
    static bool copy(const std::vector<std::string>& paths);
};

} // namespace mirelo
