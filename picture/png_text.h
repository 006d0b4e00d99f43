#pragma once

#include <string>
#include <utility>
#include <vector>

namespace correlatore {

// A PNG file with text chunks (tEXt) added after its header, one a field: what a picture says
// about itself, for pictures encoded elsewhere (the page's, by the browser). Characters outside
// Latin-1's printable ASCII become '?', as tEXt holds Latin-1 only and ours are ASCII. The bytes
// come back unchanged when they are not a PNG.
std::string withPngText(std::string png,
                        const std::vector<std::pair<std::string, std::string>>& fields);

} // namespace correlatore
