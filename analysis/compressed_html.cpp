#include "analysis/compressed_html.h"

#include <array>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/text_rules.h"

namespace velmora {
namespace {

// Only the first bytes of a tag decide anything: the longest test is "/script" plus one byte.
constexpr std::size_t kTagTextLimit = 8;

bool Begins(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Bytes that end a run of bytes that Keep would only copy. Where blanks and tabs are protected
// they are ordinary; inside a tag quotes matter and '<' does not.
struct StopSet {
    std::string_view bytes;
    std::array<bool, 256> table;
};

constexpr StopSet MakeStopSet(std::string_view bytes) {
    StopSet set{bytes, {}};
    for (unsigned char c : bytes) {
        set.table[c] = true;
    }
    return set;
}

constexpr StopSet kTextStops = MakeStopSet(" \t\r\n<>");
constexpr StopSet kProtectedTextStops = MakeStopSet("\r\n<>");
constexpr StopSet kTagStops = MakeStopSet(" \t\r\n\"'>");
constexpr StopSet kProtectedTagStops = MakeStopSet("\r\n\"'>");

#if defined(__SSE2__)
// One bit per byte of the 16 at p: set where the byte is one of the stops.
template <const StopSet& kSet>
unsigned StopBits(const char* p) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hits = _mm_setzero_si128();
    for (char stop : kSet.bytes) {
        hits = _mm_or_si128(hits, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(stop)));
    }
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
}

unsigned BlankBits(const char* p) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8(' '))));
}

unsigned BlankOrTabBits(const char* p) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
        _mm_cmpeq_epi8(chunk, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(chunk, _mm_set1_epi8('\t')))));
}
#endif

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsAsciiLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The end of the blanks and tabs that start at i. Indentation makes these runs common and
// often longer than a few bytes.
std::size_t BlanksEnd(std::string_view text, std::size_t i) {
    const std::size_t n = text.size();
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const unsigned others = ~BlankOrTabBits(text.data() + i) & 0xFFFFu;
        if (others != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(others));
        }
    }
#endif
    while (i < n && IsBlank(text[i])) {
        ++i;
    }
    return i;
}

// The end of the run that starts at i: the first stop, except that a single blank followed by
// a byte that is no stop comes out as itself and so belongs to the run.
template <const StopSet& kSet>
std::size_t RunEnd(std::string_view text, std::size_t i) {
    const std::size_t n = text.size();
#if defined(__SSE2__)
    // Sixteen bytes at a time, with one byte to look ahead.
    for (; i + 17 <= n; i += 16) {
        const char* p = text.data() + i;
        const unsigned stops = StopBits<kSet>(p);
        const unsigned ends = stops & ~(BlankBits(p) & ~StopBits<kSet>(p + 1));
        if (ends != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(ends));
        }
    }
#endif
    for (; i < n; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool blankInRun =
            c == ' ' && i + 1 < n && !kSet.table[static_cast<unsigned char>(text[i + 1])];
        if (kSet.table[c] && !blankInRun) {
            break;
        }
    }
    return i;
}

class Compressor {
public:
    explicit Compressor(std::string_view html) : html_(html) { out_.reserve(html.size()); }

    std::string Run() {
        const std::size_t n = html_.size();
        std::size_t i = 0;
        while (i < n) {
            const char c = html_[i++];
            if (IsBlank(c) && !Protected()) {
                pendingSpace_ = pendingSpace_ || !atLineStart_;
                i = BlanksEnd(html_, i);
            } else if (c == '\r') {
                CarriageReturn();
            } else if (c != '\n') {
                Keep(c);
                i = CopyRun(i);
            }
        }
        return std::move(out_);
    }

private:
    bool Protected() const { return inScript_ || inComment_ || inQuote_ || inPre_ || inPhp_; }

    void CarriageReturn() {
        if (atLineStart_) {
            return;
        }
        if (inTag_ && !inPhp_) {
            pendingSpace_ = true;
            atLineStart_ = true;
            return;
        }
        while (!out_.empty() && out_.back() == ' ') {
            out_.pop_back();
        }
        out_ += "\r\n";
        pendingSpace_ = false;
        atLineStart_ = true;
    }

    // Right after a kept byte, the bytes up to the next stop change no state: copy them whole.
    // Where blanks are not protected, a single blank between two such bytes comes out as itself.
    std::size_t CopyRun(std::size_t i) {
        if (inTag_ && tagText_.size() < kTagTextLimit) {
            return CopyTagName(i);
        }
        const bool keepBlanks = Protected();
        const std::size_t end = inTag_ ? (keepBlanks ? RunEnd<kProtectedTagStops>(html_, i)
                                                     : RunEnd<kTagStops>(html_, i))
                                       : (keepBlanks ? RunEnd<kProtectedTextStops>(html_, i)
                                                     : RunEnd<kTextStops>(html_, i));
        out_.append(html_.data() + i, end - i);
        return end;
    }

    // The letters and digits of a tag's name only add to the tag's first bytes; they are taken
    // in one loop. Inside a script, and in "<?php" and "<!--", each byte is still looked at.
    std::size_t CopyTagName(std::size_t i) {
        if (inScript_ ||
            (!tagText_.empty() && (tagText_.front() == '?' || tagText_.front() == '!'))) {
            return i;
        }
        const std::size_t n = html_.size();
        const std::size_t start = i;
        while (i < n && tagText_.size() < kTagTextLimit && IsAsciiLetterOrDigit(html_[i])) {
            out_ += html_[i];
            tagText_ += AsciiLowerByte(html_[i]);
            ++i;
        }
        atLineStart_ = atLineStart_ && i == start;
        return i;
    }

    void Keep(char c) {
        if (pendingSpace_) {
            out_ += ' ';
            if (inTag_) {
                AddToTagText(' ');
            }
            pendingSpace_ = false;
        }
        atLineStart_ = false;
        if (inTag_ && (c == '"' || c == '\'')) {
            if (!inQuote_) {
                inQuote_ = true;
                quote_ = c;
            } else if (c == quote_) {
                inQuote_ = false;
            }
        }
        out_ += c;
        if (inTag_) {
            InsideTag(c);
        } else if (c == '>' && inComment_) {
            if (!inQuote_ && out_.ends_with("-->")) {
                inComment_ = false;
            }
        } else if (c == '<' && !inQuote_ && !inComment_) {
            inTag_ = true;
            tagText_.clear();
            atLineStart_ = true;
        }
    }

    void InsideTag(char c) {
        if (c == '>' && !inQuote_) {
            EndOfTag();
            return;
        }
        // Past its first bytes nothing in a tag matters until its end; inside a script the tag
        // is left before it gets that long.
        if (tagText_.size() >= kTagTextLimit || (tagText_.empty() && c == ' ')) {
            return;
        }
        tagText_ += AsciiLowerByte(c);
        const std::string_view text = tagText_;
        if (text == "!--" && !inScript_) {
            inTag_ = false;
            inComment_ = true;
        } else if (!inPhp_ && text == "?php") {
            inPhp_ = true;
        } else if (inScript_) {
            // Inside a script a '<' only matters when it opens the closing script tag.
            if (tagText_.size() < 7) {
                inTag_ = Begins("/script", tagText_);
            } else {
                inTag_ = false;
                inScript_ = !Begins(tagText_, "/script");
            }
        }
    }

    void EndOfTag() {
        inTag_ = false;
        inPhp_ = false;
        // Most tags start with none of the bytes that can begin the names that matter.
        const char first = tagText_.empty() ? '\0' : tagText_.front();
        if (first != 's' && first != 'p' && first != '/') {
            return;
        }
        if (Begins(tagText_, "script")) {
            inScript_ = true;
        } else if (Begins(tagText_, "/script")) {
            inScript_ = false;
        }
        if (!inScript_) {
            if (Begins(tagText_, "pre")) {
                inPre_ = true;
            } else if (Begins(tagText_, "/pre")) {
                inPre_ = false;
            }
        }
    }

    void AddToTagText(char c) {
        if (tagText_.size() < kTagTextLimit) {
            tagText_ += c;
        }
    }

    std::string_view html_;
    std::string out_;
    std::string tagText_;
    bool atLineStart_ = true;
    bool pendingSpace_ = false;
    bool inTag_ = false;
    bool inQuote_ = false;
    char quote_ = '"';
    bool inComment_ = false;
    bool inScript_ = false;
    bool inPre_ = false;
    bool inPhp_ = false;
};

}  // namespace

std::string CompressHtml(std::string_view html) {
    return Compressor(html).Run();
}

}  // namespace velmora
