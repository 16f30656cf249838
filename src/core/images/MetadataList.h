#pragma once
// The camera details of a picture as label and value pairs ("Camera",
// "Lens", "Captured", "Color profile"), in that order and only those present.

#include <string>
#include <utility>
#include <vector>

namespace mirelo {

using MetadataList = std::vector<std::pair<std::string, std::string>>;

} // namespace mirelo
