#pragma once
// The file operations with which the user organises media into folders:
// renaming a folder, creating one, adding a copy of a file. They never
// replace an existing file; a failure changes nothing on disk.

#include <stdexcept>
#include <string>

namespace mirelo {

// what() is a complete sentence for the user; `code` is the errno when the
// system refused, 0 for our own checks.
class CollectionError : public std::runtime_error {
public:
    CollectionError(const std::string& message, int code = 0) : std::runtime_error(message), code(code) {}
    int code;
};

class CollectionFiles {
public:
    static constexpr const char* kInvalidName = "Enter a folder name without slashes or colons.";
    static constexpr const char* kNotAFolder = "Choose a folder for this image.";
    static constexpr const char* kTooManyCopies = "Too many files already have this name in the destination folder.";
    static constexpr const char* kUnsupported =
        "The file couldn’t be opened because the specified URL type isn’t supported.";

    // The name trimmed of surrounding white space; throws kInvalidName when
    // it is empty, "." or "..", or holds "/", ":" or NUL.
    static std::string validatedName(const std::string& name);

    // Returns the folder's new path.
    static std::string renameFolder(const std::string& folder, const std::string& name);
    // Creates `parent/name` with mode 0755; returns its path.
    static std::string createFolder(const std::string& name, const std::string& parent);
    // Copies `source` into `folder` under a free name ("photo (2).jpg");
    // returns the copy's path.
    static std::string addCopy(const std::string& source, const std::string& folder);
};

} // namespace mirelo
