#pragma once

// Deterministic English-like pages for the benchmarks.

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::bench {

// A page of about `bytes` bytes: a head with title, description and keywords, then indented
// paragraphs, lists and links of words drawn from a fixed vocabulary with a Zipf-like skew.
// Line breaks are CR LF, as a loaded page has them.
std::string GeneratePage(std::size_t bytes, std::uint32_t seed = 1);

}  // namespace velmora::bench
