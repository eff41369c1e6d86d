#include "analysis/word_list.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

#include "core/byte_loads.h"

namespace velmora {

namespace {

constexpr std::size_t kInitialSlots = 1024;
// Slots of a table small enough to stay in a core's cache.
constexpr std::size_t kCachedSlots = std::size_t{1} << 15;
constexpr std::size_t kPrefetchDistance = 32;

// A slot: the hash's top 24 bits, which settle most mismatches without a look at the form, over
// 1 + the offset of the form's record.
constexpr int kSlotOffsetBits = 40;
constexpr std::uint64_t kSlotOffsetMask = (std::uint64_t{1} << kSlotOffsetBits) - 1;

// Forms lie in an arena of records, one per distinct form in the order first seen: the count
// (four bytes), the length (one byte, or kLongLength and then four bytes) and the text.
constexpr std::size_t kCountBytes = sizeof(std::int32_t);
constexpr unsigned char kLongLength = 0xFF;
constexpr std::size_t kShortHeader = kCountBytes + 1;
constexpr std::size_t kLongHeader = kShortHeader + sizeof(std::uint32_t);
// When a form's lower-casing differs from its text, its entry locates instead a record in an
// arena of lower-casings: the text record's offset (eight bytes), the lower-casing's length
// (four bytes) and its bytes.
constexpr std::size_t kLowerHeader = sizeof(std::uint64_t) + sizeof(std::uint32_t);
// Words and phrases of two to four words average about twelve bytes.
constexpr std::size_t kReservedBytesPerForm = 12 + kShortHeader;

// A form's entry in the sorted list, from the top: whether the form starts its group, whether
// the offset is into the lower-casings, and the record's offset.
constexpr int kOffsetBits = 38;
constexpr std::uint64_t kOffsetMask = (std::uint64_t{1} << kOffsetBits) - 1;
constexpr std::uint64_t kSeparateLower = std::uint64_t{1} << kOffsetBits;
constexpr std::uint64_t kStartsGroup = std::uint64_t{1} << (kOffsetBits + 1);
constexpr std::uint64_t kEntryMask = (kStartsGroup << 1) - 1;

// A form's sort key holds the first bytes of its lower-casing, big-endian and zero-padded, so
// that comparing keys as numbers orders like comparing the bytes; the last three of them share
// a word with the form's entry. A list of up to kMostWideKeys forms sorts on nineteen bytes,
// which tell apart most phrases that begin alike; a larger list sorts on eleven, which halves
// the memory its keys take.
struct WideKey {
    std::uint64_t head = 0;
    std::uint64_t next = 0;
    std::uint64_t rest = 0;
};
struct CompactKey {
    std::uint64_t head = 0;
    std::uint64_t rest = 0;
};
constexpr std::size_t kMostWideKeys = std::size_t{1} << 21;
constexpr int kRestBytesShift = kOffsetBits + 2;

std::uint64_t SlotOf(std::size_t hash, std::size_t offset) {
    return (static_cast<std::uint64_t>(hash) & ~kSlotOffsetMask) | (offset + 1);
}

std::uint32_t Length32(std::size_t length) {
    if (length > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("A word or phrase of 4 GiB or more");
    }
    return static_cast<std::uint32_t>(length);
}

// Whether n bytes at a and b are equal, compared in words: most forms are a few words long, and
// a call to memcmp costs more than the comparison itself.
bool EqualBytes(const char* a, const char* b, std::size_t n) {
    for (; n >= 8; a += 8, b += 8, n -= 8) {
        if (LoadBytes<std::uint64_t>(a) != LoadBytes<std::uint64_t>(b)) {
            return false;
        }
    }
    if (n >= 4) {
        return LoadBytes<std::uint32_t>(a) == LoadBytes<std::uint32_t>(b) &&
               LoadBytes<std::uint32_t>(a + n - 4) == LoadBytes<std::uint32_t>(b + n - 4);
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
        hash = (hash ^ LoadBytes<std::uint64_t>(bytes)) * kMultiplier;
        hash ^= hash >> 32;
    }
    std::uint64_t last = 0;
    if (left >= 4) {
        last = (std::uint64_t{LoadBytes<std::uint32_t>(bytes)} << 32) |
               LoadBytes<std::uint32_t>(bytes + left - 4);
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

// A form record's text. The next record begins where the text ends.
std::string_view RecordText(const char* record) {
    const auto shortLength = static_cast<unsigned char>(record[kCountBytes]);
    if (shortLength != kLongLength) {
        return {record + kShortHeader, shortLength};
    }
    return {record + kLongHeader,
            static_cast<std::size_t>(LoadBytes<std::uint32_t>(record + kShortHeader))};
}

// Where a text in an arena ends, as an offset into the arena.
std::size_t EndOffset(std::string_view text, const char* arena) {
    return static_cast<std::size_t>(text.data() + text.size() - arena);
}

std::int32_t RecordCount(const char* record) {
    return LoadBytes<std::int32_t>(record);
}

// Text that every encoding's lower-casing leaves as it is, told without lowering it.
bool IsAsciiWithoutCapitals(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x80 || (c >= 'A' && c <= 'Z');
    });
}

// Fills in the key bytes of a form whose lower-casing is `lower`, and its entry.
void SetKey(WideKey& key, std::string_view lower, std::uint64_t entry) {
    key.head = BigEndianBytes(lower, 0);
    key.next = BigEndianBytes(lower, 8);
    key.rest = (BigEndianBytes(lower, 16) >> 40 << kRestBytesShift) | entry;
}

void SetKey(CompactKey& key, std::string_view lower, std::uint64_t entry) {
    key.head = BigEndianBytes(lower, 0);
    key.rest = (BigEndianBytes(lower, 8) >> 40 << kRestBytesShift) | entry;
}

// The key bytes of two forms, which tell most phrases apart without a look at the texts.
bool SameBytes(const WideKey& a, const WideKey& b) {
    return a.head == b.head && a.next == b.next &&
           (a.rest >> kRestBytesShift) == (b.rest >> kRestBytesShift);
}

bool SameBytes(const CompactKey& a, const CompactKey& b) {
    return a.head == b.head && (a.rest >> kRestBytesShift) == (b.rest >> kRestBytesShift);
}

// A function object rather than a function, so that the sort inlines the comparison. Keys with
// the same bytes are ordered by their flags and offsets, which says nothing: such runs are put
// in order by their texts afterwards.
constexpr struct {
    bool operator()(const WideKey& a, const WideKey& b) const {
        if (a.head != b.head) {
            return a.head < b.head;
        }
        return a.next != b.next ? a.next < b.next : a.rest < b.rest;
    }
    bool operator()(const CompactKey& a, const CompactKey& b) const {
        return a.head != b.head ? a.head < b.head : a.rest < b.rest;
    }
} ByKeyBytes;

// Orders keys by their bytes alone. A large list is first split in place by its first two bytes,
// so that each part's sort mostly stays in the cache.
template <class Key>
void SortByKeyBytes(GrowableArray<Key>& keys) {
    constexpr int kBucketBits = 16;
    constexpr std::size_t kBuckets = std::size_t{1} << kBucketBits;
    if (keys.size() < kBuckets) {
        std::sort(keys.begin(), keys.end(), ByKeyBytes);
        return;
    }
    const auto bucketOf = [](const Key& key) {
        return static_cast<std::size_t>(key.head >> (64 - kBucketBits));
    };
    std::vector<std::size_t> start(kBuckets + 1);
    for (const Key& key : keys) {
        ++start[bucketOf(key) + 1];
    }
    for (std::size_t b = 0; b < kBuckets; ++b) {
        start[b + 1] += start[b];
    }
    // Each key goes straight to the next free place of its bucket, displacing the key there.
    std::vector<std::size_t> nextFree(start.begin(), start.end() - 1);
    for (std::size_t b = 0; b < kBuckets; ++b) {
        while (nextFree[b] < start[b + 1]) {
            Key key = keys[nextFree[b]];
            for (std::size_t to = bucketOf(key); to != b; to = bucketOf(key)) {
                std::swap(key, keys[nextFree[to]++]);
            }
            keys[nextFree[b]++] = key;
        }
    }
    for (std::size_t b = 0; b < kBuckets; ++b) {
        std::sort(keys.begin() + start[b], keys.begin() + start[b + 1], ByKeyBytes);
    }
}

}  // namespace

WordForm WordList::FormAt(std::uint64_t form) const {
    const std::uint64_t offset = form & kOffsetMask;
    const bool startsGroup = (form & kStartsGroup) != 0;
    if ((form & kSeparateLower) == 0) {
        const char* record = texts_.data() + offset;
        const std::string_view text = RecordText(record);
        return {text, text, RecordCount(record), startsGroup};
    }
    const char* lowerRecord = lowers_.data() + offset;
    const char* record = texts_.data() + LoadBytes<std::uint64_t>(lowerRecord);
    const std::string_view lower(
        lowerRecord + kLowerHeader,
        static_cast<std::size_t>(LoadBytes<std::uint32_t>(lowerRecord + sizeof(std::uint64_t))));
    return {RecordText(record), lower, RecordCount(record), startsGroup};
}

// Puts the forms in the text rules' order: locale-lower-cased bytes, then the form's own bytes.
// Each form whose lower-casing differs from it gets a record with that lower-casing on the way.
template <class Key>
void WordList::SortForms(std::size_t count) {
    GrowableArray<Key> keys = KeysOfForms<Key>(count);
    SortByKeyBytes(keys);
    PackSortedKeys(std::move(keys));
}

// One key per form, in the order the records lie.
template <class Key>
GrowableArray<Key> WordList::KeysOfForms(std::size_t count) {
    GrowableArray<Key> keys;
    keys.Reserve(count);
    std::string lower;
    // The records are read in the order they lie, each after the one before.
    for (std::size_t offset = 0, k = 0; k < count; ++k) {
        const std::string_view text = RecordText(texts_.data() + offset);
        const std::uint64_t recordOffset = offset;
        offset = EndOffset(text, texts_.data());
        if (recordOffset > kOffsetMask) {
            throw std::length_error("Words and phrases of 256 GiB or more");
        }
        // Written field by field where it is stored: building a key first and then copying it
        // stalls on every form, as the copy reads what was just written in parts.
        Key& key = *keys.Extend(1);
        if (IsAsciiWithoutCapitals(text)) {
            SetKey(key, text, recordOffset);
            continue;
        }
        lower.clear();
        rules_.AppendLocaleLower(lower, text);
        SetKey(key, lower, recordOffset);
        if (lower != text) {
            const std::uint32_t lowerLength = Length32(lower.size());
            const std::uint64_t lowerOffset = lowers_.size();
            if (lowerOffset > kOffsetMask) {
                throw std::length_error("Words and phrases of 256 GiB or more");
            }
            key.rest = (key.rest & ~kOffsetMask) | kSeparateLower | lowerOffset;
            char* stored = lowers_.Extend(kLowerHeader + lower.size());
            StoreBytes(stored, recordOffset);
            StoreBytes(stored + sizeof recordOffset, lowerLength);
            std::memcpy(stored + kLowerHeader, lower.data(), lower.size());
        }
    }
    return keys;
}

// Keys that share their bytes are put in order by the whole texts, whose scattered reads are
// asked for ahead. A form starts a group when its bytes are new, or, among tied keys, when its
// lower-casing is.
//
// The entries are packed over the keys they came from as the walk goes: entry k goes within a
// key before key k, which was read before. The rest of the storage then goes back to the system.
template <class Key>
void WordList::PackSortedKeys(GrowableArray<Key> keys) {
    const std::size_t n = keys.size();
    const auto tied = [&](std::size_t k) {
        return (k > 0 && SameBytes(keys[k - 1], keys[k])) ||
               (k + 1 < n && SameBytes(keys[k], keys[k + 1]));
    };
    struct Tied {
        WordForm form;
        std::uint64_t rest = 0;
    };
    std::vector<Tied> run;
    // Orders the tied keys [k, end) by their texts and marks where their groups start.
    const auto orderRun = [&](std::size_t k, std::size_t end) {
        run.clear();
        for (std::size_t i = k; i < end; ++i) {
            run.push_back({FormAt(keys[i].rest), keys[i].rest});
        }
        std::sort(run.begin(), run.end(), [](const Tied& a, const Tied& b) {
            const int lowered = a.form.lower.compare(b.form.lower);
            return lowered != 0 ? lowered < 0 : a.form.text < b.form.text;
        });
        for (std::size_t i = 0; i < run.size(); ++i) {
            const bool startsGroup = i == 0 || run[i].form.lower != run[i - 1].form.lower;
            keys[k + i].rest = (run[i].rest & ~kStartsGroup) | (startsGroup ? kStartsGroup : 0);
        }
    };
    auto* entries = reinterpret_cast<std::uint64_t*>(keys.data());
    samples_.reserve(n / kSampleStride + 1);
    std::size_t runEnd = 0;
    for (std::size_t k = 0; k < n; ++k) {
        if (const std::size_t ahead = k + kPrefetchDistance; ahead < n && tied(ahead)) {
            const std::uint64_t rest = keys[ahead].rest;
            const char* arena = (rest & kSeparateLower) != 0 ? lowers_.data() : texts_.data();
            __builtin_prefetch(arena + (rest & kOffsetMask));
        }
        if (k == runEnd) {
            while (++runEnd < n && SameBytes(keys[k], keys[runEnd])) {
            }
            keys[k].rest |= kStartsGroup;
            if (runEnd - k > 1) {
                orderRun(k, runEnd);
            }
        }
        if (k % kSampleStride == 0) {
            samples_.push_back(keys[k].head);
        }
        StoreBytes(reinterpret_cast<char*>(entries + k), keys[k].rest & kEntryMask);
    }
    forms_ = std::move(keys).template Recast<std::uint64_t>(n);
}

void OccurrenceCounter::Reserve(std::size_t forms) {
    if (slots_.empty() && forms > 0) {
        slots_ = GrowableArray<std::uint64_t>::Zeroed(
            std::max(kInitialSlots, std::bit_ceil(forms + forms / 3 + 1)));
        arena_.Reserve(forms * kReservedBytesPerForm);
    }
}

void OccurrenceCounter::Add(std::string_view occurrence) {
    ++occurrences_;
    const std::size_t hash = HashOf(occurrence);
    // A table that stays in the cache gains nothing from the queue, and a long occurrence is
    // not copied into it.
    if (slots_.size() <= kCachedSlots || occurrence.size() > kLongestQueued) {
        CountQueued();
        Count(occurrence, hash);
        return;
    }
    __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
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
    if (forms_ * 4 >= slots_.size() * 3) {
        Grow();
    }
    const std::uint64_t tag = static_cast<std::uint64_t>(hash) & ~kSlotOffsetMask;
    const std::size_t mask = slots_.size() - 1;
    const std::size_t length = occurrence.size();
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint64_t held = slots_[slot];
        if (held == 0) {
            const std::size_t offset = arena_.size();
            if (offset >= kSlotOffsetMask) {
                throw std::length_error("Words and phrases of 1 TiB or more");
            }
            const std::size_t header = length < kLongLength ? kShortHeader : kLongHeader;
            char* record = arena_.Extend(header + length);
            StoreBytes(record, std::int32_t{1});
            if (length < kLongLength) {
                record[kCountBytes] = static_cast<char>(length);
            } else {
                const std::uint32_t longLength = Length32(length);
                record[kCountBytes] = static_cast<char>(kLongLength);
                StoreBytes(record + kShortHeader, longLength);
            }
            std::memcpy(record + header, occurrence.data(), length);
            slots_[slot] = SlotOf(hash, offset);
            ++forms_;
            return;
        }
        if ((held & ~kSlotOffsetMask) == tag) {
            char* record = arena_.data() + (held & kSlotOffsetMask) - 1;
            const std::string_view form = RecordText(record);
            if (form.size() == length && EqualBytes(form.data(), occurrence.data(), length)) {
                const std::int32_t count = RecordCount(record);
                if (count < std::numeric_limits<std::int32_t>::max()) {
                    StoreBytes(record, count + 1);
                }
                return;
            }
        }
    }
}

void OccurrenceCounter::Grow() {
    const std::size_t size = std::max(kInitialSlots, slots_.size() * 2);
    // The old table goes first: the new one is built from the records alone, read in order.
    slots_ = GrowableArray<std::uint64_t>();
    slots_ = GrowableArray<std::uint64_t>::Zeroed(size);
    const std::size_t mask = size - 1;
    // Hashes a batch ahead and asks for its slots, so the scattered writes seldom wait.
    std::array<std::size_t, kPrefetchDistance> hashes{};
    std::array<std::size_t, kPrefetchDistance> offsets{};
    std::size_t offset = 0;
    for (std::size_t first = 0; first < forms_; first += kPrefetchDistance) {
        const std::size_t batch = std::min(kPrefetchDistance, forms_ - first);
        for (std::size_t b = 0; b < batch; ++b) {
            const std::string_view text = RecordText(arena_.data() + offset);
            offsets[b] = offset;
            hashes[b] = HashOf(text);
            offset = EndOffset(text, arena_.data());
            __builtin_prefetch(&slots_[hashes[b] & mask], 1);
        }
        for (std::size_t b = 0; b < batch; ++b) {
            std::size_t slot = hashes[b] & mask;
            while (slots_[slot] != 0) {
                slot = (slot + 1) & mask;
            }
            slots_[slot] = SlotOf(hashes[b], offsets[b]);
        }
    }
}

WordList WordList::FromOccurrences(const std::vector<std::string>& occurrences, TextRules rules,
                                   SortKeys keys) {
    OccurrenceCounter counter;
    for (const std::string& occurrence : occurrences) {
        counter.Add(occurrence);
    }
    return FromCounter(std::move(counter), rules, keys);
}

WordList WordList::FromCounter(OccurrenceCounter counter, TextRules rules, SortKeys keys) {
    counter.CountQueued();
    counter.slots_ = GrowableArray<std::uint64_t>();
    WordList list(rules);
    list.texts_ = std::move(counter.arena_);
    list.occurrences_ = counter.occurrences_;
    if (keys == SortKeys::BySize && counter.forms_ <= kMostWideKeys) {
        list.SortForms<WideKey>(counter.forms_);
    } else {
        list.SortForms<CompactKey>(counter.forms_);
    }
    return list;
}

int WordList::FindGroup(std::string_view lower) const {
    // The samples narrow the search to the forms between two of them that can share the first
    // eight bytes; only those are read from the arenas.
    const std::uint64_t head = BigEndianBytes(lower, 0);
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
