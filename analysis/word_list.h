#pragma once

// The sorted list of a page's words, word parts and phrases.
//
// Conceptually it holds one entry per occurrence, sorted by the text rules' ordering, so that
// entries equal ignoring case stand together and each written form forms one run. It is stored
// as one entry per distinct written form with its occurrence count, in that same order; every
// consumer sees the same counts and forms as with one entry per occurrence.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_rules.h"

namespace velmora {

struct WordForm {
    std::string text;       // the written form
    std::string lower;      // its locale lower-casing
    std::int32_t count = 0; // occurrences of exactly this form
};

// Counts occurrences by written form while storing each distinct form once, so a page's scan
// allocates per distinct form rather than per occurrence.
class OccurrenceCounter {
public:
    void Add(std::string_view occurrence);

private:
    friend class WordList;
    struct Entry {
        std::size_t offset = 0;  // into arena_
        std::size_t length = 0;
        std::size_t hash = 0;
        std::int64_t count = 0;
    };
    std::string_view TextOf(const Entry& entry) const {
        return std::string_view(arena_).substr(entry.offset, entry.length);
    }
    void Grow();

    std::string arena_;
    std::vector<Entry> entries_;
    // High half: the high half of the entry's hash; low half: 1 + index into entries_. 0 marks a
    // free slot.
    std::vector<std::uint64_t> slots_;
};

class WordList {
public:
    explicit WordList(TextRules rules = TextRules()) : rules_(rules) {}

    // Builds the sorted list from occurrences (in any order).
    static WordList FromOccurrences(std::vector<std::string> occurrences, TextRules rules);
    static WordList FromCounter(const OccurrenceCounter& counter, TextRules rules);

    const TextRules& Rules() const { return rules_; }
    const std::vector<WordForm>& Forms() const { return forms_; }
    // Number of occurrence entries (sum of the counts): the progress maximum of a walk.
    std::size_t OccurrenceCount() const { return occurrences_; }
    bool empty() const { return forms_.empty(); }

    // Index of the first form whose lower-casing equals lower, or -1.
    int FindGroup(std::string_view lower) const;

private:
    TextRules rules_;
    std::vector<WordForm> forms_;
    std::size_t occurrences_ = 0;
};

}  // namespace velmora
