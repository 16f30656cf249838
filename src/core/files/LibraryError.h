#pragma once
// A failure of reading or writing the library file; what() is a complete
// sentence for the user.

#include <stdexcept>
#include <string>

namespace mirelo {

class LibraryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text of an errno value ("No space left on device").
std::string systemErrorText(int error);

} // namespace mirelo
