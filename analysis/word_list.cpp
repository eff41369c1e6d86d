#include "analysis/word_list.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

namespace velmora {

using detail::StoredForm;

namespace {

constexpr std::size_t kInitialSlots = 1024;
// Slots of a table small enough to stay in a core's cache.
constexpr std::size_t kCachedSlots = std::size_t{1} << 15;
constexpr std::uint64_t kTagBits = 0xFFFFFFFF00000000u;
constexpr std::size_t kPrefetchDistance = 32;
constexpr std::size_t kRecordHeader = sizeof(std::uint64_t) + sizeof(std::uint32_t);
// Words and phrases of two to four words average about twelve bytes.
constexpr std::size_t kReservedBytesPerForm = 12;

// A slot holds the high half of its form's hash, which settles most mismatches without a look
// at the form, and the form's index + 1.
std::uint64_t SlotOf(std::size_t hash, std::size_t index) {
    return (static_cast<std::uint64_t>(hash) & kTagBits) | (index + 1);
}

std::uint32_t Length32(std::size_t length) {
    if (length > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("A word or phrase of 4 GiB or more");
    }
    return static_cast<std::uint32_t>(length);
}

std::uint64_t Load64(const char* bytes) {
    std::uint64_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

std::uint64_t Load32(const char* bytes) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// Whether n bytes at a and b are equal, compared in words: most forms are a few words long, and
// a call to memcmp costs more than the comparison itself.
bool EqualBytes(const char* a, const char* b, std::size_t n) {
    for (; n >= 8; a += 8, b += 8, n -= 8) {
        if (Load64(a) != Load64(b)) {
            return false;
        }
    }
    if (n >= 4) {
        return Load32(a) == Load32(b) && Load32(a + n - 4) == Load32(b + n - 4);
    }
    for (; n > 0; ++a, ++b, --n) {
        if (*a != *b) {
            return false;
        }
    }
    return true;
}

// A form's hash, eight bytes at a step. The last one to eight bytes are read as two overlapping
// words (or three single bytes), which with the length mixed in tells all texts of one length
// apart before the mixing; the final mix spreads every bit over the slot index and the tag.
std::size_t HashOf(std::string_view text) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15u;
    const char* bytes = text.data();
    std::size_t left = text.size();
    std::uint64_t hash = text.size() * kMultiplier;
    for (; left > 8; bytes += 8, left -= 8) {
        hash = (hash ^ Load64(bytes)) * kMultiplier;
        hash ^= hash >> 32;
    }
    std::uint64_t last = 0;
    if (left >= 4) {
        last = (Load32(bytes) << 32) | Load32(bytes + left - 4);
    } else if (left > 0) {
        last = static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[0])) << 16 |
               static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[left / 2])) << 8 |
               static_cast<unsigned char>(bytes[left - 1]);
    }
    hash = (hash ^ last) * kMultiplier;
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDu;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53u;
    hash ^= hash >> 33;
    return static_cast<std::size_t>(hash);
}

// Eight bytes of a text from `from` on, big-endian and zero-padded: comparing two such numbers
// orders like comparing the bytes they hold, so most comparisons of the sort never leave the key.
std::uint64_t BytesOf(std::string_view text, std::size_t from) {
    if (from + 8 <= text.size()) {
        const std::uint64_t loaded = Load64(text.data() + from);
        if constexpr (std::endian::native == std::endian::little) {
            return __builtin_bswap64(loaded);
        }
        return loaded;
    }
    std::uint64_t bytes = 0;
    for (std::size_t i = from; i < from + 8; ++i) {
        bytes = (bytes << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    }
    return bytes;
}

// Text that every encoding's lower-casing leaves as it is, told without lowering it.
bool IsAsciiWithoutCapitals(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x80 || (c >= 'A' && c <= 'Z');
    });
}

// The first sixteen bytes of the lower-cased form, which tell most phrases apart, and the form
// itself, so that the sorted keys give the sorted forms without a scattered read.
struct SortKey {
    std::uint64_t head = 0;
    std::uint64_t next = 0;
    StoredForm form;
};

bool SameBytes(const SortKey& a, const SortKey& b) {
    return a.head == b.head && a.next == b.next;
}

// A function object rather than a function, so that the sort inlines the comparison.
constexpr auto ByKeyBytes = [](const SortKey& a, const SortKey& b) {
    return a.head != b.head ? a.head < b.head : a.next < b.next;
};

// Orders keys by their bytes alone, which needs no look at the texts. A large list is first
// split in place by its first two bytes, so that each part's sort mostly stays in the cache.
void SortByKeyBytes(HugePageVector<SortKey>& keys) {
    constexpr int kBucketBits = 16;
    constexpr std::size_t kBuckets = std::size_t{1} << kBucketBits;
    if (keys.size() < kBuckets) {
        std::sort(keys.begin(), keys.end(), ByKeyBytes);
        return;
    }
    const auto bucketOf = [](const SortKey& key) {
        return static_cast<std::size_t>(key.head >> (64 - kBucketBits));
    };
    std::vector<std::size_t> start(kBuckets + 1);
    for (const SortKey& key : keys) {
        ++start[bucketOf(key) + 1];
    }
    for (std::size_t b = 0; b < kBuckets; ++b) {
        start[b + 1] += start[b];
    }
    // Each key goes straight to the next free place of its bucket, displacing the key there.
    std::vector<std::size_t> nextFree(start.begin(), start.end() - 1);
    for (std::size_t b = 0; b < kBuckets; ++b) {
        while (nextFree[b] < start[b + 1]) {
            SortKey key = keys[nextFree[b]];
            for (std::size_t to = bucketOf(key); to != b; to = bucketOf(key)) {
                std::swap(key, keys[nextFree[to]++]);
            }
            keys[nextFree[b]++] = key;
        }
    }
    for (std::size_t b = 0; b < kBuckets; ++b) {
        std::sort(keys.begin() + static_cast<std::ptrdiff_t>(start[b]),
                  keys.begin() + static_cast<std::ptrdiff_t>(start[b + 1]), ByKeyBytes);
    }
}

}  // namespace

WordForm WordList::FormAt(const StoredForm& form) const {
    if (!form.separateLower) {
        const std::string_view text(texts_.data() + form.offset, form.length);
        return {text, text, form.count, form.startsGroup != 0};
    }
    const char* record = lowers_.data() + form.offset;
    std::uint64_t textOffset = 0;
    std::uint32_t lowerLength = 0;
    std::memcpy(&textOffset, record, sizeof textOffset);
    std::memcpy(&lowerLength, record + sizeof textOffset, sizeof lowerLength);
    return {std::string_view(texts_.data() + textOffset, form.length),
            std::string_view(record + kRecordHeader, lowerLength), form.count,
            form.startsGroup != 0};
}

// Puts the forms in the text rules' order: locale-lower-cased bytes, then the form's own bytes.
// Each form whose lower-casing differs from it gets a record with that lower-casing on the way.
void WordList::SortForms() {
    const std::size_t n = forms_.size();
    HugePageVector<SortKey> keys;
    keys.reserve(n);
    std::string lower;
    // Keys and forms are written field by field where they are stored: building a value first
    // and then copying it stalls on every form, as the copy reads what was just written in parts.
    for (const StoredForm& form : forms_) {
        const std::string_view text(texts_.data() + form.offset, form.length);
        SortKey& key = keys.emplace_back();
        key.form = form;
        if (IsAsciiWithoutCapitals(text)) {
            key.head = BytesOf(text, 0);
            key.next = BytesOf(text, 8);
            continue;
        }
        lower.clear();
        rules_.AppendLocaleLower(lower, text);
        key.head = BytesOf(lower, 0);
        key.next = BytesOf(lower, 8);
        if (lower != text) {
            const std::uint64_t textOffset = form.offset;
            const std::uint32_t lowerLength = Length32(lower.size());
            key.form.offset = lowers_.size();
            key.form.separateLower = 1;
            lowers_.append(reinterpret_cast<const char*>(&textOffset), sizeof textOffset);
            lowers_.append(reinterpret_cast<const char*>(&lowerLength), sizeof lowerLength);
            lowers_.append(lower);
        }
    }
    // The forms are taken back in key order into the same storage: the keys and the forms are
    // live together at the end in any case.
    forms_.clear();
    SortByKeyBytes(keys);

    // Keys that share their bytes are put in order by the whole texts, whose scattered reads
    // are asked for ahead; then the forms are taken in key order, each marked when it starts a
    // group, which only tied keys need the texts to tell.
    const auto tied = [&](std::size_t k) {
        return (k > 0 && SameBytes(keys[k - 1], keys[k])) ||
               (k + 1 < n && SameBytes(keys[k], keys[k + 1]));
    };
    const auto byText = [&](const SortKey& a, const SortKey& b) {
        const WordForm first = FormAt(a.form);
        const WordForm second = FormAt(b.form);
        const int lowered = first.lower.compare(second.lower);
        return lowered != 0 ? lowered < 0 : first.text < second.text;
    };
    forms_.reserve(n);
    samples_.reserve(n / kSampleStride + 1);
    std::size_t runEnd = 0;
    for (std::size_t k = 0; k < n; ++k) {
        if (const std::size_t ahead = k + kPrefetchDistance; ahead < n && tied(ahead)) {
            const WordForm form = FormAt(keys[ahead].form);
            __builtin_prefetch(form.lower.data());
            __builtin_prefetch(form.text.data());
        }
        if (k == runEnd) {
            while (++runEnd < n && SameBytes(keys[k], keys[runEnd])) {
            }
            if (runEnd - k > 1) {
                std::sort(keys.begin() + static_cast<std::ptrdiff_t>(k),
                          keys.begin() + static_cast<std::ptrdiff_t>(runEnd), byText);
            }
        }
        forms_.push_back(keys[k].form);
        forms_.back().startsGroup = k == 0 || !SameBytes(keys[k - 1], keys[k]) ||
                                    FormAt(keys[k - 1].form).lower != FormAt(keys[k].form).lower;
        if (k % kSampleStride == 0) {
            samples_.push_back(keys[k].head);
        }
    }
}

void OccurrenceCounter::Reserve(std::size_t forms) {
    if (slots_.empty() && forms > 0) {
        slots_.resize(std::max(kInitialSlots, std::bit_ceil(forms + forms / 3 + 1)));
        forms_.reserve(forms);
        arena_.reserve(forms * kReservedBytesPerForm);
    }
}

void OccurrenceCounter::Add(std::string_view occurrence) {
    ++occurrences_;
    const std::size_t hash = HashOf(occurrence);
    // A table that stays in the cache gains nothing from the queue.
    if (slots_.size() <= kCachedSlots) {
        CountQueued();
        Count(occurrence, hash);
        return;
    }
    if (occurrence.size() > kLongestQueued) {
        CountQueued();
        Count(occurrence, hash);
        return;
    }
    if (!slots_.empty()) {
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
    }
    queue_[queueLength_++] = Queued{hash, queued_.size(), occurrence.size()};
    queued_.append(occurrence);
    if (queueLength_ == kQueueLength) {
        CountQueued();
    }
}

void OccurrenceCounter::CountQueued() {
    for (std::size_t i = 0; i < queueLength_; ++i) {
        const Queued& queued = queue_[i];
        Count(std::string_view(queued_).substr(queued.offset, queued.length), queued.hash);
    }
    queueLength_ = 0;
    queued_.clear();
}

void OccurrenceCounter::Count(std::string_view occurrence, std::size_t hash) {
    // Up to three quarters full: the tags keep the probes short, and a smaller table is fewer
    // fresh pages to clear.
    if (forms_.size() * 4 >= slots_.size() * 3) {
        Grow();
    }
    const std::uint64_t tag = static_cast<std::uint64_t>(hash) & kTagBits;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint64_t held = slots_[slot];
        if (held == 0) {
            StoredForm form;
            form.offset = arena_.size();
            form.length = Length32(occurrence.size());
            form.count = 1;
            forms_.push_back(form);
            arena_.append(occurrence);
            slots_[slot] = SlotOf(hash, forms_.size() - 1);
            return;
        }
        if ((held & kTagBits) == tag) {
            StoredForm& form = forms_[(held & ~kTagBits) - 1];
            if (form.length == occurrence.size() &&
                EqualBytes(arena_.data() + form.offset, occurrence.data(), occurrence.size())) {
                if (form.count < std::numeric_limits<std::int32_t>::max()) {
                    ++form.count;
                }
                return;
            }
        }
    }
}

void OccurrenceCounter::Grow() {
    const std::size_t size = std::max(kInitialSlots, slots_.size() * 2);
    // The old table goes first: the new one is built from the forms alone.
    HugePageVector<std::uint64_t>().swap(slots_);
    slots_.resize(size);
    const std::size_t mask = size - 1;
    // Hashes a batch ahead and asks for its slots, so the scattered writes seldom wait.
    std::array<std::size_t, kPrefetchDistance> hashes{};
    for (std::size_t first = 0; first < forms_.size(); first += kPrefetchDistance) {
        const std::size_t batch = std::min(kPrefetchDistance, forms_.size() - first);
        for (std::size_t b = 0; b < batch; ++b) {
            hashes[b] = HashOf(TextOf(forms_[first + b]));
            __builtin_prefetch(&slots_[hashes[b] & mask], 1);
        }
        for (std::size_t b = 0; b < batch; ++b) {
            std::size_t slot = hashes[b] & mask;
            while (slots_[slot] != 0) {
                slot = (slot + 1) & mask;
            }
            slots_[slot] = SlotOf(hashes[b], first + b);
        }
    }
}

WordList WordList::FromOccurrences(const std::vector<std::string>& occurrences, TextRules rules) {
    OccurrenceCounter counter;
    for (const std::string& occurrence : occurrences) {
        counter.Add(occurrence);
    }
    return FromCounter(std::move(counter), rules);
}

WordList WordList::FromCounter(OccurrenceCounter counter, TextRules rules) {
    counter.CountQueued();
    HugePageVector<std::uint64_t>().swap(counter.slots_);
    WordList list(rules);
    list.texts_ = std::move(counter.arena_);
    list.forms_ = std::move(counter.forms_);
    list.occurrences_ = counter.occurrences_;
    list.SortForms();
    return list;
}

int WordList::FindGroup(std::string_view lower) const {
    // The samples narrow the search to the forms between two of them that can share the first
    // eight bytes; only those are read from the arenas.
    const std::uint64_t head = BytesOf(lower, 0);
    const auto below = std::lower_bound(samples_.begin(), samples_.end(), head);
    const auto above = std::upper_bound(below, samples_.end(), head);
    std::size_t low =
        below == samples_.begin()
            ? 0
            : static_cast<std::size_t>(below - samples_.begin() - 1) * kSampleStride + 1;
    std::size_t high = above == samples_.end()
                           ? forms_.size()
                           : static_cast<std::size_t>(above - samples_.begin()) * kSampleStride;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (FormAt(forms_[middle]).lower < lower) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == forms_.size() || FormAt(forms_[low]).lower != lower) {
        return -1;
    }
    return static_cast<int>(low);
}

}  // namespace velmora
