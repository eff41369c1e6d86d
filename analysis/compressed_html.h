#pragma once

// Removal of the white space that does not change how a page is rendered.

#include <string>
#include <string_view>

#include "analysis/html_stop_bits.h"

namespace velmora {

// The page text with its unnecessary white space removed, in one pass. Pure function.
std::string CompressHtml(std::string_view html);

namespace detail {
// The same with the given instructions for finding where runs end, whether or not they are the
// fastest here; the processor must run them.
std::string CompressHtml(std::string_view html, StopScan scan);
}  // namespace detail

}  // namespace velmora
