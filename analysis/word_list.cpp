#include "analysis/word_list.h"

#include <algorithm>
#include <functional>
#include <limits>

namespace velmora {
namespace {

constexpr std::size_t kInitialSlots = 1024;

// Eight bytes of a text from `from` on, big-endian and zero-padded: comparing two such numbers
// orders like comparing the bytes they hold, so most comparisons of the sort never leave the key.
std::uint64_t EightBytesOf(std::string_view text, std::size_t from) {
    std::uint64_t bytes = 0;
    for (std::size_t i = from; i < from + 8; ++i) {
        bytes = (bytes << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    }
    return bytes;
}

// The first sixteen bytes of the lower-cased form, which tell most phrases apart, and the form.
struct SortKey {
    std::uint64_t head = 0;
    std::uint64_t next = 0;
    std::uint32_t index = 0;
};

constexpr std::uint64_t kTagBits = 0xFFFFFFFF00000000u;

// A slot holds the high half of its entry's hash, which settles most mismatches without a look
// at the entry, and the entry's index + 1.
std::uint64_t SlotOf(std::size_t hash, std::size_t index) {
    return (static_cast<std::uint64_t>(hash) & kTagBits) | (index + 1);
}

}  // namespace

void OccurrenceCounter::Add(std::string_view occurrence) {
    if (entries_.size() * 2 >= slots_.size()) {
        Grow();
    }
    const std::size_t hash = std::hash<std::string_view>{}(occurrence);
    const std::uint64_t tag = static_cast<std::uint64_t>(hash) & kTagBits;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint64_t held = slots_[slot];
        if (held == 0) {
            entries_.push_back(Entry{arena_.size(), occurrence.size(), hash, 1});
            arena_.append(occurrence);
            slots_[slot] = SlotOf(hash, entries_.size() - 1);
            return;
        }
        if ((held & kTagBits) == tag) {
            Entry& entry = entries_[(held & ~kTagBits) - 1];
            if (TextOf(entry) == occurrence) {
                ++entry.count;
                return;
            }
        }
    }
}

void OccurrenceCounter::Grow() {
    slots_.assign(std::max(kInitialSlots, slots_.size() * 2), 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        std::size_t slot = entries_[i].hash & mask;
        while (slots_[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        slots_[slot] = SlotOf(entries_[i].hash, i);
    }
}

WordList WordList::FromOccurrences(std::vector<std::string> occurrences, TextRules rules) {
    OccurrenceCounter counter;
    for (const std::string& occurrence : occurrences) {
        counter.Add(occurrence);
    }
    return FromCounter(counter, rules);
}

WordList WordList::FromCounter(const OccurrenceCounter& counter, TextRules rules) {
    const auto& entries = counter.entries_;
    const std::size_t n = entries.size();

    // Lower-case each distinct form once, into one buffer.
    std::string lowerArena;
    lowerArena.reserve(counter.arena_.size());
    std::vector<std::size_t> lowerStart(n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        lowerStart[i] = lowerArena.size();
        rules.AppendLocaleLower(lowerArena, counter.TextOf(entries[i]));
    }
    lowerStart[n] = lowerArena.size();
    const auto lowerOf = [&](std::size_t i) {
        return std::string_view(lowerArena)
            .substr(lowerStart[i], lowerStart[i + 1] - lowerStart[i]);
    };

    // The text rules' order: locale-lower-cased bytes, then the form's own bytes.
    std::vector<SortKey> keys(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view lower = lowerOf(i);
        keys[i] =
            SortKey{EightBytesOf(lower, 0), EightBytesOf(lower, 8), static_cast<std::uint32_t>(i)};
    }
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
        if (a.head != b.head) {
            return a.head < b.head;
        }
        if (a.next != b.next) {
            return a.next < b.next;
        }
        const int lowered = lowerOf(a.index).compare(lowerOf(b.index));
        if (lowered != 0) {
            return lowered < 0;
        }
        return counter.TextOf(entries[a.index]) < counter.TextOf(entries[b.index]);
    });

    WordList list(rules);
    list.forms_.reserve(n);
    for (const SortKey& key : keys) {
        const auto& entry = entries[key.index];
        const auto count = static_cast<std::int32_t>(
            std::min<std::int64_t>(entry.count, std::numeric_limits<std::int32_t>::max()));
        list.forms_.push_back(
            WordForm{std::string(counter.TextOf(entry)), std::string(lowerOf(key.index)), count});
        list.occurrences_ += static_cast<std::size_t>(entry.count);
    }
    return list;
}

int WordList::FindGroup(std::string_view lower) const {
    const auto at = std::lower_bound(forms_.begin(), forms_.end(), lower,
                                     [](const WordForm& form, std::string_view key) {
                                         return std::string_view(form.lower) < key;
                                     });
    if (at == forms_.end() || at->lower != lower) {
        return -1;
    }
    return static_cast<int>(at - forms_.begin());
}

}  // namespace velmora
