#pragma once
// An ordered list of address texts exactly as they were found in a page, a stylesheet or a
// script: relative or absolute, possibly quoted, duplicates and empty entries kept. The batch
// download decides what in it is a usable address.
#include <string>
#include <vector>

namespace qz {

using ResourceList = std::vector<std::string>;

}  // namespace qz
