#pragma once
// Renaming that never replaces what is at the destination.

#include <string>

namespace mirelo {

// 0 on success, else the errno (EEXIST when the destination is taken).
int renameWithoutReplacing(const std::string& from, const std::string& to);

} // namespace mirelo
