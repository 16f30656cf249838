#pragma once
// Locations are held as absolute paths made of the file system's raw bytes,
// which need not be valid UTF-8. Their stored form is a percent-encoded
// "file://" URL string that names exactly the same bytes.

#include <optional>
#include <string>
#include <string_view>

namespace mirelo {

// Removes ".", ".." and empty components lexically (symbolic links are not
// resolved). The result is absolute and never ends in "/" except for "/".
// A relative path is taken relative to "/".
std::string standardisedPath(std::string_view path);

// Makes a path absolute against the current working folder, then standardises it.
std::string absoluteStandardisedPath(std::string_view path);

// "file://" followed by the path, every byte outside the unreserved and
// path-safe ASCII set percent-encoded.
std::string fileUrlString(std::string_view path);
void appendFileUrl(std::string& out, std::string_view path);

// The path named by a "file:" URL string, or nothing when the string is not a
// local file URL with an absolute path and well-formed escapes.
std::optional<std::string> pathFromFileUrl(std::string_view url);

// The last component of a path ("" for "/").
std::string_view lastPathComponent(std::string_view path);
// The parent folder of a standardised path ("/" for "/x" and for "/").
std::string_view parentPath(std::string_view path);
// The text after the last "." of a file name, or "" when there is none or the
// only dot starts the name.
std::string_view pathExtension(std::string_view name);

} // namespace mirelo
