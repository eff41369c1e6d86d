#pragma once

// The sorted list of a page's words, word parts and phrases.
//
// Conceptually it holds one entry per occurrence, sorted by the text rules' ordering, so that
// entries equal ignoring case stand together and each written form forms one run. It is stored
// as one entry per distinct written form with its occurrence count, in that same order; every
// consumer sees the same counts and forms as with one entry per occurrence.
//
// A page of random words has about as many distinct forms as occurrences, tens of millions for
// a page of 50 MB. A form costs its bytes and five more in an arena of records, and eight bytes
// in the sorted list.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/growable_array.h"
#include "core/text_rules.h"

namespace velmora {

// One distinct written form. The views point into the word list and stay valid while the list
// lives unchanged.
struct WordForm {
    std::string_view text;     // the written form
    std::string_view lower;    // its locale lower-casing
    std::int32_t count = 0;    // occurrences of exactly this form, at most the int32 maximum
    bool startsGroup = false;  // the first form of its group: its lower-casing is new
};

// Counts occurrences by written form while storing each distinct form once, so a page's scan
// allocates per distinct form rather than per occurrence. Forms must be shorter than 4 GiB, and
// all of them together shorter than 256 GiB.
class OccurrenceCounter {
public:
    // Sizes the table for about `forms` distinct forms at once, sparing the early growth.
    void Reserve(std::size_t forms);
    void Add(std::string_view occurrence);

private:
    friend class WordList;
    // An occurrence whose table slot is being fetched; its bytes are in queued_.
    struct Queued {
        std::size_t hash = 0;
        std::size_t offset = 0;
        std::size_t length = 0;
    };
    static constexpr std::size_t kQueueLength = 16;
    static constexpr std::size_t kLongestQueued = 256;

    void Count(std::string_view occurrence, std::size_t hash);
    void CountQueued();
    void Grow();

    // The records of the distinct forms.
    GrowableArray<char> arena_;
    std::size_t forms_ = 0;
    // High bits: the high bits of the form's hash; low bits: 1 + the offset of its record.
    // 0 marks a free slot.
    GrowableArray<std::uint64_t> slots_;
    std::size_t occurrences_ = 0;
    // Occurrences wait here while their slots are fetched, so that the scattered reads of a
    // large table overlap instead of following one another.
    std::array<Queued, kQueueLength> queue_;
    std::size_t queueLength_ = 0;
    std::string queued_;
};

class WordList {
public:
    // The forms in order, read as WordForm values.
    class FormRange {
    public:
        class Iterator {
        public:
            WordForm operator*() const { return (*range_)[index_]; }
            Iterator& operator++() {
                ++index_;
                return *this;
            }
            bool operator==(const Iterator& other) const { return index_ == other.index_; }

        private:
            friend class FormRange;
            Iterator(const FormRange* range, std::size_t index) : range_(range), index_(index) {}
            const FormRange* range_;
            std::size_t index_;
        };

        std::size_t size() const { return list_->forms_.size(); }
        bool empty() const { return list_->forms_.empty(); }
        WordForm operator[](std::size_t i) const { return list_->FormAt(list_->forms_[i]); }
        Iterator begin() const { return Iterator(this, 0); }
        Iterator end() const { return Iterator(this, size()); }

    private:
        friend class WordList;
        explicit FormRange(const WordList* list) : list_(list) {}
        const WordList* list_;
    };

    explicit WordList(TextRules rules = TextRules()) : rules_(rules) {}

    // The sort compares the first bytes of the forms before it reads their texts: nineteen for
    // a list of up to about two million forms, eleven for a larger one, whose keys then take
    // half the memory. Tests choose the short keys to reach that path with a small list.
    enum class SortKeys { BySize, Short };

    // Builds the sorted list from occurrences (in any order).
    static WordList FromOccurrences(const std::vector<std::string>& occurrences, TextRules rules,
                                    SortKeys keys = SortKeys::BySize);
    static WordList FromCounter(OccurrenceCounter counter, TextRules rules,
                                SortKeys keys = SortKeys::BySize);

    const TextRules& Rules() const { return rules_; }
    FormRange Forms() const { return FormRange(this); }
    // Number of occurrence entries (sum of the counts): the progress maximum of a walk.
    std::size_t OccurrenceCount() const { return occurrences_; }
    bool empty() const { return forms_.empty(); }

    // Index of the first form whose lower-casing equals lower, or -1.
    int FindGroup(std::string_view lower) const;

private:
    static constexpr std::size_t kSampleStride = 32;

    WordForm FormAt(std::uint64_t form) const;
    template <class Key>
    void SortForms(std::size_t count);
    template <class Key>
    GrowableArray<Key> KeysOfForms(std::size_t count);
    template <class Key>
    void PackSortedKeys(GrowableArray<Key> keys);

    TextRules rules_;
    GrowableArray<char> texts_;
    GrowableArray<char> lowers_;
    // Where each form lies, in order: see word_list.cpp.
    GrowableArray<std::uint64_t> forms_;
    // The first eight lower-cased bytes, big-endian, of every kSampleStride-th form.
    std::vector<std::uint64_t> samples_;
    std::size_t occurrences_ = 0;
};

}  // namespace velmora
