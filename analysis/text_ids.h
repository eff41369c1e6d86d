#pragma once

// Numbers the distinct texts of a long list, 0, 1, 2, ... in order of first appearance. A page's
// keyword list can run to hundreds of thousands of entries; a node-based set would cost an
// allocation and a scattered read for each, where this open-addressing table of numbers costs
// eight bytes a slot. The texts are not copied: each must outlive the table.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace velmora {

class TextIds {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    struct Entry {
        std::uint32_t id = kNone;
        bool added = false;  // the text was new
    };

    explicit TextIds(std::size_t expected = 0) { Rehash(SlotsFor(expected)); }

    static std::uint64_t Hash(std::string_view text) { return std::hash<std::string_view>{}(text); }

    // The text's number; a new one when the text is new.
    Entry Add(std::string_view text) {
        Reserve(texts_.size() + 1);
        return Insert(text, Hash(text));
    }

    // Add of each text in order, handing use(i, entry) the entry of texts[i]. The slots of the
    // texts a few places ahead are fetched early, so that the scattered reads of a large table
    // overlap instead of following one another.
    template <typename Use>
    void AddEach(std::span<const std::string_view> texts, const Use& use) {
        constexpr std::size_t kAhead = 8;
        Reserve(texts_.size() + texts.size());
        texts_.reserve(texts_.size() + texts.size());
        std::array<std::uint64_t, kAhead> hashes{};
        for (std::size_t i = 0; i < kAhead && i < texts.size(); ++i) {
            hashes[i] = Fetch(texts[i]);
        }
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::uint64_t hash = hashes[i % kAhead];
            if (i + kAhead < texts.size()) {
                hashes[i % kAhead] = Fetch(texts[i + kAhead]);
            }
            use(i, Insert(texts[i], hash));
        }
    }

    // The text's number, or kNone when it was never added.
    std::uint32_t Find(std::string_view text) const {
        const std::uint64_t slot = slots_[Probe(text, Hash(text))];
        return slot == 0 ? kNone : static_cast<std::uint32_t>((slot & kIdMask) - 1);
    }

    std::size_t size() const { return texts_.size(); }
    std::string_view Text(std::uint32_t id) const { return texts_[id]; }

private:
    // A slot holds the high half of the text's hash and 1 + its number; 0 marks a free slot.
    static constexpr std::uint64_t kIdMask = 0xFFFFFFFFu;

    static std::size_t SlotsFor(std::size_t texts) {
        std::size_t slots = 16;
        while (slots < texts * 2) {
            slots *= 2;
        }
        return slots;
    }
    static std::uint64_t Slot(std::uint64_t hash, std::uint32_t id) {
        return (hash & ~kIdMask) | (std::uint64_t{id} + 1);
    }

    // Room for `texts` texts with the table at most half full.
    void Reserve(std::size_t texts) {
        if (texts * 2 > slots_.size()) {
            Rehash(SlotsFor(texts));
        }
    }

    std::uint64_t Fetch(std::string_view text) const {
        const std::uint64_t hash = Hash(text);
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
        return hash;
    }

    Entry Insert(std::string_view text, std::uint64_t hash) {
        const std::size_t slot = Probe(text, hash);
        if (slots_[slot] != 0) {
            return {static_cast<std::uint32_t>((slots_[slot] & kIdMask) - 1), false};
        }
        const auto id = static_cast<std::uint32_t>(texts_.size());
        texts_.push_back(text);
        slots_[slot] = Slot(hash, id);
        return {id, true};
    }

    // The slot that holds text, else the free slot where it would go.
    std::size_t Probe(std::string_view text, std::uint64_t hash) const {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            const std::uint64_t held = slots_[slot];
            if (held == 0 ||
                ((held & ~kIdMask) == (hash & ~kIdMask) && texts_[(held & kIdMask) - 1] == text)) {
                return slot;
            }
        }
    }

    void Rehash(std::size_t slots) {
        slots_.assign(slots, 0);
        for (std::uint32_t id = 0; id < texts_.size(); ++id) {
            const std::uint64_t hash = Hash(texts_[id]);
            slots_[Probe(texts_[id], hash)] = Slot(hash, id);
        }
    }

    std::vector<std::string_view> texts_;
    std::vector<std::uint64_t> slots_;
};

}  // namespace velmora
