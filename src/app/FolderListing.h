#pragma once
// The folders directly inside a folder, as the sidebar tree shows them.

#include <string>
#include <vector>

namespace mirelo {

struct FolderListing {
    // Visible, real folders (no packages, no symbolic links), in name order;
    // empty when the folder cannot be read.
    static std::vector<std::string> subfolders(const std::string& folder);
};

} // namespace mirelo
