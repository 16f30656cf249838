#pragma once
// The sidebar sections, in sidebar order. The raw value is both the title
// and the persisted form.

#include "library/LibraryQuery.h"

#include <array>
#include <optional>
#include <string_view>

namespace mirelo {

enum class LibrarySection { all, images, videos, large, duplicates };

struct LibrarySections {
    static constexpr std::array<LibrarySection, 5> allCases = {LibrarySection::all, LibrarySection::images,
                                                               LibrarySection::videos, LibrarySection::large,
                                                               LibrarySection::duplicates};
    // "All media", "Images", "Videos", "Large files", "Duplicates".
    static std::string_view rawValue(LibrarySection section);
    static std::optional<LibrarySection> fromRawValue(std::string_view raw);
    static LibraryMediaFilter filter(LibrarySection section);
};

} // namespace mirelo
