#include "site_checks/text_pool.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace velmora::site_checks {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;
constexpr std::size_t kFirstSlots = 1 << 10;

std::uint64_t Mixed(std::uint64_t h) {
    h ^= h >> 32;
    h *= 0x9E3779B97F4A7C15ULL;
    return h ^ (h >> 29);
}

// Eight bytes at a time: paths are tens of bytes long and hashed once per link read.
std::uint64_t HashOf(std::string_view text) {
    constexpr std::uint64_t kMultiplier = 0xBF58476D1CE4E5B9ULL;
    std::uint64_t h = text.size() * kMultiplier;
    const char* bytes = text.data();
    std::size_t left = text.size();
    for (; left >= 8; bytes += 8, left -= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, 8);
        h = (h ^ word) * kMultiplier;
        h ^= h >> 31;
    }
    if (left > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, left);
        h = (h ^ word) * kMultiplier;
    }
    return Mixed(h);
}

std::uint32_t TagOf(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash >> 32);
}

}  // namespace

TextPool::TextPool() : texts_(1), slots_(kFirstSlots) {}

std::size_t TextPool::SlotOf(std::string_view text, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const std::uint32_t tag = TagOf(hash);
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot& held = slots_[slot];
        if (held.id == kNoText || (held.tag == tag && texts_[held.id] == text)) {
            return slot;
        }
    }
}

void TextPool::Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& held : old) {
        if (held.id == kNoText) {
            continue;
        }
        std::size_t slot = HashOf(texts_[held.id]) & mask;
        while (slots_[slot].id != kNoText) {
            slot = (slot + 1) & mask;
        }
        slots_[slot] = held;
    }
}

TextId TextPool::Intern(std::string_view text) {
    return Intern(text, HashOf(text));
}

void TextPool::InternAll(std::span<const std::string_view> texts, std::span<TextId> ids) {
    hashes_.resize(texts.size());
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        hashes_[i] = HashOf(texts[i]);
        __builtin_prefetch(&slots_[hashes_[i] & mask]);
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        __builtin_prefetch(&texts_[slots_[hashes_[i] & mask].id]);
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        __builtin_prefetch(texts_[slots_[hashes_[i] & mask].id].data());
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        // A link written as its resolved path repeats the text just interned.
        ids[i] = i > 0 && texts[i] == texts[i - 1] ? ids[i - 1] : Intern(texts[i], hashes_[i]);
    }
}

TextId TextPool::Intern(std::string_view text, std::uint64_t hash) {
    std::size_t slot = SlotOf(text, hash);
    if (slots_[slot].id != kNoText) {
        return slots_[slot].id;
    }
    if (texts_.size() > UINT32_MAX - 1) {
        throw std::length_error("more distinct texts than a site can hold");
    }
    // At most half full, so that a miss ends after a few probes.
    if (texts_.size() * 2 > slots_.size()) {
        Grow();
        slot = SlotOf(text, hash);
    }
    if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < text.size()) {
        blocks_.emplace_back();
        blocks_.back().reserve(std::max(kBlockSize, text.size()));
    }
    std::string& block = blocks_.back();
    const std::size_t start = block.size();
    block.append(text);
    const auto id = static_cast<TextId>(texts_.size());
    texts_.emplace_back(block.data() + start, text.size());
    slots_[slot] = {id, TagOf(hash)};
    return id;
}

TextId TextPool::Find(std::string_view text) const {
    return slots_[SlotOf(text, HashOf(text))].id;
}

}  // namespace velmora::site_checks
