#pragma once
// Renaming that never replaces what is at the destination.

#include <string>

namespace mirelo {

// 0 on success, else the errno (EEXIST when the destination is taken).
int renameWithoutReplacing(const std::string& from, const std::string& to);

// The way files are renamed where the file system cannot refuse by itself:
// link, then unlink. When the unlink fails the link is taken back, so the
// file is left as it was and the error is reported.
int linkThenUnlink(const std::string& from, const std::string& to);

} // namespace mirelo
