#pragma once

// Texts held once and named by a number: a site's paths, hrefs and fragment names repeat on
// page after page, so a million pages' links cost four bytes per text instead of a string each.

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
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
    // ids[i] = Intern(texts[i]) in order, with the slots of all looked up ahead so that their
    // waits on memory overlap: a page's links are interned together.
    void InternAll(std::span<const std::string_view> texts, std::span<TextId> ids);
    // kNoText when the text was never interned.
    TextId Find(std::string_view text) const;
    std::string_view Text(TextId id) const { return texts_[id]; }
    std::size_t size() const { return texts_.size() - 1; }
    // One more than the greatest id given out: the size of a table indexed by id.
    std::size_t IdLimit() const { return texts_.size(); }

private:
    // An open-addressing table: a site's millions of links are looked up here, and a slot of
    // the id and part of the hash stays in the cache where a node of a chained table would not.
    struct Slot {
        TextId id = kNoText;
        std::uint32_t tag = 0;  // the hash's upper half, compared before the text
    };

    // The slot holding `text`, or the empty slot where it belongs.
    std::size_t SlotOf(std::string_view text, std::uint64_t hash) const;
    TextId Intern(std::string_view text, std::uint64_t hash);
    void Grow();

    // Blocks of characters that never move, so the views stay valid as the pool grows.
    std::deque<std::string> blocks_;
    std::vector<std::string_view> texts_;
    std::vector<Slot> slots_;
    std::vector<std::uint64_t> hashes_;  // InternAll's, kept to spare an allocation per page
};

}  // namespace velmora::site_checks
