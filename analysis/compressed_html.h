#pragma once

// Removal of the white space that does not change how a page is rendered.

#include <string>
#include <string_view>

namespace velmora {

// The page text with its unnecessary white space removed, in one pass. Pure function.
std::string CompressHtml(std::string_view html);

}  // namespace velmora
