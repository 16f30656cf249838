#pragma once
// Unicode-aware text operations on UTF-8 byte strings (names that are not
// valid UTF-8 are treated with replacement characters): normal form, the
// Name order as file managers sort (numbers by value, case ignored) and case- and diacritic-insensitive search.

#include <string>
#include <string_view>

namespace mirelo {

bool isAscii(std::string_view text);

// NFC form of the text; text that is not valid UTF-8 comes back unchanged.
std::string nfc(std::string_view text);
bool isNfc(std::string_view text);

// Unicode upper case ("jpg" -> "JPG").
std::string upperCased(std::string_view text);

// Name order: ignores case and diacritics, compares digit runs by value,
// follows the user's locale. Negative, zero or positive like strcmp.
int compareNames(std::string_view a, std::string_view b);

// A byte string whose plain byte order is the name order above.
void appendNameSortKey(std::string& out, std::string_view name);

// A search text prepared once and matched against many names.
class NameSearch {
public:
    explicit NameSearch(std::string_view needle);
    bool empty() const { return empty_; }
    // Does the name contain the needle, ignoring case and diacritics?
    bool matches(std::string_view name) const;

private:
    bool empty_ = true;
    bool asciiNeedle_ = false;
    std::string asciiFolded_;
    std::u16string folded_;
};

} // namespace mirelo
