#include "LibrarySection.h"

namespace mirelo {

std::string_view LibrarySections::rawValue(LibrarySection section)
{
    switch (section) {
    case LibrarySection::all: return "All media";
    case LibrarySection::images: return "Images";
    case LibrarySection::videos: return "Videos";
    case LibrarySection::large: return "Large files";
    case LibrarySection::duplicates: return "Duplicates";
    }
    return "All media";
}

std::optional<LibrarySection> LibrarySections::fromRawValue(std::string_view raw)
{
    for (LibrarySection section : allCases)
        if (rawValue(section) == raw) return section;
    return std::nullopt;
}

LibraryMediaFilter LibrarySections::filter(LibrarySection section)
{
    switch (section) {
    case LibrarySection::all: return LibraryMediaFilter::all;
    case LibrarySection::images: return LibraryMediaFilter::images;
    case LibrarySection::videos: return LibraryMediaFilter::videos;
    case LibrarySection::large: return LibraryMediaFilter::large;
    case LibrarySection::duplicates: return LibraryMediaFilter::duplicates;
    }
    return LibraryMediaFilter::all;
}

} // namespace mirelo
