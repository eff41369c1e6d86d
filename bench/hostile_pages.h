#pragma once

// Deterministic hostile and huge pages: what a user might point the program at by mistake, or
// what a broken or malicious site might serve. Analysis of each must end in bounded time and
// memory.

#include <span>
#include <string>
#include <string_view>

namespace velmora::bench {

struct HostilePage {
    std::string_view name;
    std::string (*generate)();
};

// Every kind, smallest first within a size class.
std::span<const HostilePage> HostilePages();

}  // namespace velmora::bench
