#pragma once
// What the grid shows: the folder scope and the view settings. Two equal
// locations show the same content.

#include <QString>

#include <optional>
#include <string>

namespace mirelo {

struct GridLocation {
    std::optional<std::string> folder; // absent for the whole library
    QString section;                   // raw value of the LibrarySection
    QString format;
    QString search;
    QString sort; // raw value of the MediaSort
    bool operator==(const GridLocation&) const = default;
};

} // namespace mirelo
