#pragma once

// Texts held once and named by a number: a site's paths, hrefs and fragment names repeat on
// page after page, so a million pages' links cost four bytes per text instead of a string each.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora::site_checks {

using TextId = std::uint32_t;
// No text at all, which differs from the empty text.
inline constexpr TextId kNoText = 0;

class TextPool {
public:
    TextPool();
    TextPool(const TextPool&) = delete;
    TextPool& operator=(const TextPool&) = delete;

    TextId Intern(std::string_view text);
    // kNoText when the text was never interned.
    TextId Find(std::string_view text) const;
    std::string_view Text(TextId id) const { return texts_[id]; }
    std::size_t size() const { return texts_.size() - 1; }

private:
    // Blocks of characters that never move, so the views stay valid as the pool grows.
    std::deque<std::string> blocks_;
    std::vector<std::string_view> texts_;
    std::unordered_map<std::string_view, TextId> ids_;
};

}  // namespace velmora::site_checks
