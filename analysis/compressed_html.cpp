#include "analysis/compressed_html.h"

#include <cstdint>
#include <cstring>

#include "core/text_rules.h"

namespace velmora {
namespace {

using detail::RunKind;

bool Begins(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsAsciiLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The first bytes of the current tag, lower-cased. Only they decide anything: the longest test
// is "/script" plus one byte.
class TagText {
public:
    static constexpr std::size_t kLimit = 8;

    bool Full() const { return size_ == kLimit; }
    bool Empty() const { return size_ == 0; }
    char Front() const { return bytes_[0]; }
    std::string_view View() const { return {bytes_, size_}; }
    void Clear() { size_ = 0; }
    // Settles a tag whose first bytes can no longer name one that matters: whatever follows,
    // it is full and begins with no byte that a test looks for.
    void Settle() {
        bytes_[0] = '\0';
        size_ = kLimit;
    }
    // Bytes past the limit are not kept.
    void Add(char c) {
        if (size_ < kLimit) {
            bytes_[size_++] = c;
        }
    }

private:
    char bytes_[kLimit] = {};
    std::size_t size_ = 0;
};

// The compressed text, written through a pointer. Room is made ahead of each write, a little
// at a time, so the buffer's zero fill lands just before the bytes that overwrite it.
class OutputText {
public:
    // Short copies move 32 bytes whatever their length; the slack keeps them inside the buffer.
    static constexpr std::size_t kSlack = 32;

    explicit OutputText(std::size_t expected) {
        text_.reserve(expected + kSlack);
        next_ = text_.data();
        end_ = next_;
    }

    void MakeRoom(std::size_t count) {
        // The zero fill of a later step writes lines that are not in the cache; asking for them
        // while the scan waits on its own loads spares the fill its wait for memory.
        __builtin_prefetch(
            reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(next_) + kStep), 1);
        if (static_cast<std::size_t>(end_ - next_) < count + kSlack) {
            Grow(count);
        }
    }
    void Put(char c) { *next_++ = c; }
    // Copies count bytes of text from `from`; MakeRoom(count) must come first. Away from the
    // text's end the bytes go in whole chunks, the last one running into the slack: no call, and
    // no branch on the length but the loop's.
    void Copy(std::string_view text, std::size_t from, std::size_t count) {
        const char* source = text.data() + from;
        if (from + count + kSlack <= text.size()) {
            std::size_t done = 0;
            do {
                std::memcpy(next_ + done, source + done, kSlack);
                done += kSlack;
            } while (done < count);
        } else {
            std::memcpy(next_, source, count);
        }
        next_ += count;
    }
    bool Empty() const { return next_ == text_.data(); }
    char Back() const { return next_[-1]; }
    void PopBack() { --next_; }
    bool EndsWith(std::string_view tail) const {
        const auto size = static_cast<std::size_t>(next_ - text_.data());
        return size >= tail.size() &&
               std::memcmp(next_ - tail.size(), tail.data(), tail.size()) == 0;
    }
    std::string Finish() {
        text_.resize(static_cast<std::size_t>(next_ - text_.data()));
        return std::move(text_);
    }

private:
    static constexpr std::size_t kStep = std::size_t{1} << 16;

    void Grow(std::size_t count) {
        const auto used = static_cast<std::size_t>(next_ - text_.data());
        text_.resize(used + count + kSlack + kStep);
        next_ = text_.data() + used;
        end_ = text_.data() + text_.size();
    }

    std::string text_;
    char* next_ = nullptr;
    char* end_ = nullptr;
};

class Compressor {
public:
    Compressor(std::string_view html, detail::StopScan scan)
        : html_(html), stops_(html, scan), out_(html.size()) {}

    std::string Run() {
        const std::size_t n = html_.size();
        std::size_t i = 0;
        while (i < n) {
            if (!inTag_ && !Protected()) {
                i = PlainText(i);
            } else {
                i = Step(i);
            }
        }
        return out_.Finish();
    }

private:
    // A single step writes at most a pending blank, its byte and a tag's name.
    static constexpr std::size_t kStepRoom = 2 + TagText::kLimit;

    // Takes the byte at i, and the run after it that changes nothing.
    std::size_t Step(std::size_t i) {
        out_.MakeRoom(kStepRoom);
        const char c = html_[i++];
        if (IsBlank(c) && !Protected()) {
            pendingSpace_ = pendingSpace_ || !atLineStart_;
            return BlanksEnd(i);
        }
        if (c == '\r') {
            CarriageReturn();
            return SkipLineStart(i);
        }
        if (c != '\n') {
            Keep(c);
            return CopyRun(i);
        }
        return i;
    }

    // The steps outside tags and protected regions, where most of a page is: the same as Step,
    // with tags whose names matter to nothing taken whole. Ends in a tag or at the page's end.
    std::size_t PlainText(std::size_t i) {
        const std::size_t n = html_.size();
        while (i < n && !inTag_) {
            switch (html_[i]) {
                case '<':
                    i = PlainTag(i);
                    break;
                case ' ':
                case '\t':
                    pendingSpace_ = pendingSpace_ || !atLineStart_;
                    i = BlanksEnd(i + 1);
                    break;
                case '\r':
                    out_.MakeRoom(kStepRoom);
                    CarriageReturn();
                    i = SkipLineStart(i + 1);
                    break;
                case '\n':
                    ++i;
                    break;
                default:
                    i = PlainRun(i);
            }
        }
        return i;
    }

    // Outside tags and protected regions a byte that is no blank, '<' or line break changes no
    // state: it is kept with the text run after it.
    std::size_t PlainRun(std::size_t i) {
        const std::size_t end = stops_.RunEnd(RunKind::Text, i + 1);
        out_.MakeRoom(end - i + 1);
        if (pendingSpace_) {
            out_.Put(' ');
            pendingSpace_ = false;
        }
        atLineStart_ = false;
        out_.Copy(html_, i, end - i);
        return end;
    }

    // Each look-up of the stop bits waits for the position that the one before gave. Where the
    // byte at i already tells, a comparison that the processor predicts lets the scan run ahead:
    // most blanks are single, a quoted value often ends its tag, and a tag is often followed by
    // another at once.
    std::size_t BlanksEnd(std::size_t i) {
        if (i < html_.size() && !IsBlank(html_[i])) {
            return i;
        }
        return stops_.BlanksEnd(i);
    }

    std::size_t TextAfterTag(std::size_t i) {
        if (i < html_.size() && html_[i] == '<') {
            return i;
        }
        return stops_.RunEnd(RunKind::Text, i);
    }

    std::size_t TagAfterValue(std::size_t i) {
        if (i < html_.size() && html_[i] == '>') {
            return i;
        }
        return stops_.RunEnd(RunKind::Tag, i);
    }

    // Where blanks and line starts are kept as they are. One byte holds all, so that the test
    // for any of them is one test.
    enum Protection : std::uint8_t { kScript = 1, kComment = 2, kQuote = 4, kPre = 8, kPhp = 16 };

    bool Protected() const { return protections_ != 0; }
    bool In(Protection protection) const { return (protections_ & protection) != 0; }
    void Set(Protection protection, bool on) {
        protections_ =
            static_cast<std::uint8_t>(on ? protections_ | protection : protections_ & ~protection);
    }

    void CarriageReturn() {
        if (atLineStart_) {
            return;
        }
        if (inTag_ && !In(kPhp)) {
            pendingSpace_ = true;
            atLineStart_ = true;
            return;
        }
        while (!out_.Empty() && out_.Back() == ' ') {
            out_.PopBack();
        }
        out_.Put('\r');
        out_.Put('\n');
        pendingSpace_ = false;
        atLineStart_ = true;
    }

    // A line feed never changes anything, nor do blanks where they are not protected once a
    // line has started over: the line break and the indentation after it go in one step.
    std::size_t SkipLineStart(std::size_t i) {
        if (i < html_.size() && html_[i] == '\n') {
            ++i;
        }
        return Protected() ? i : BlanksEnd(i);
    }

    // Most tags have names that matter to nothing. Such a tag is copied up to its first stop
    // outside its quoted values and, when that is its end, with the text after it. i is at the
    // tag's '<'.
    std::size_t PlainTag(std::size_t i) {
        const std::size_t n = html_.size();
        const std::size_t name = i + 1 < n && html_[i + 1] == '/' ? i + 2 : i + 1;
        if (!NameCannotMatter(name)) {
            out_.MakeRoom(kStepRoom);
            Keep('<');
            return CopyRun(i + 1);
        }
        atLineStart_ = false;
        inTag_ = true;
        tagText_.Settle();
        std::size_t end = stops_.RunEnd(RunKind::Tag, name);
        while (end < n && (html_[end] == '"' || html_[end] == '\'')) {
            const std::size_t close = QuotedValueEnd(end);
            if (close == n || html_[close] != html_[end]) {
                Set(kQuote, true);
                quote_ = html_[end];
                end = close;
                break;
            }
            end = TagAfterValue(close + 1);
        }
        if (end < n && html_[end] == '>' && !In(kQuote)) {
            // The tag ends there; its '>' and the text after it are copied with it.
            inTag_ = false;
            end = TextAfterTag(end + 1);
        }
        out_.MakeRoom(end - i + 1);
        if (pendingSpace_) {
            out_.Put(' ');
            pendingSpace_ = false;
        }
        out_.Copy(html_, i, end - i);
        return end;
    }

    // Inside a quoted value only the closing quote and line breaks change anything; the other
    // quote and '>' are kept as they are. The closing quote's position, or the line break's, or
    // the end of the page.
    std::size_t QuotedValueEnd(std::size_t open) {
        const std::size_t n = html_.size();
        const char quote = html_[open];
        std::size_t k = open + 1;
        for (;;) {
            k = stops_.RunEnd(RunKind::ProtectedTag, k);
            if (k == n || html_[k] == quote || html_[k] == '\r' || html_[k] == '\n') {
                return k;
            }
            ++k;
        }
    }

    // Right after a kept byte, the bytes up to the next stop change no state: copy them whole.
    // Where blanks are not protected, a single blank between two such bytes comes out as itself.
    std::size_t CopyRun(std::size_t i) {
        if (inTag_ && !tagText_.Full()) {
            return CopyTagName(i);
        }
        return CopyRunOfKind(i);
    }

    std::size_t CopyRunOfKind(std::size_t i) {
        const bool keepBlanks = Protected();
        const RunKind kind = inTag_ ? (keepBlanks ? RunKind::ProtectedTag : RunKind::Tag)
                                    : (keepBlanks ? RunKind::ProtectedText : RunKind::Text);
        const std::size_t end = stops_.RunEnd(kind, i);
        out_.MakeRoom(end - i);
        out_.Copy(html_, i, end - i);
        return end;
    }

    // The letters and digits of a tag's name only add to the tag's first bytes; they are taken
    // in one loop. Inside a script, and in "<?php" and "<!--", each byte is still looked at.
    std::size_t CopyTagName(std::size_t i) {
        if (In(kScript) ||
            (!tagText_.Empty() && (tagText_.Front() == '?' || tagText_.Front() == '!'))) {
            return i;
        }
        const std::size_t n = html_.size();
        if (tagText_.Empty()) {
            // The '/' of an end tag is kept as any byte is.
            const std::size_t name = i < n && html_[i] == '/' ? i + 1 : i;
            if (NameCannotMatter(name)) {
                tagText_.Settle();
                atLineStart_ = false;
                out_.Copy(html_, i, name - i);
                return CopyRunOfKind(name);
            }
        }
        const std::size_t start = i;
        while (i < n && !tagText_.Full() && IsAsciiLetterOrDigit(html_[i])) {
            out_.Put(html_[i]);
            tagText_.Add(AsciiLowerByte(html_[i]));
            ++i;
        }
        atLineStart_ = atLineStart_ && i == start;
        return i;
    }

    // Only the names that begin with "script" or "pre", in any letter case, open or close a
    // script or a pre block. A tag whose name starts at `name` with a letter or digit and cannot
    // begin so is settled there: the name either ends before it could or differs already. A line
    // feed inside a tag is dropped without a trace, so "p", a line feed and "re" still name pre.
    bool NameCannotMatter(std::size_t name) const {
        const std::size_t n = html_.size();
        if (name >= n || !IsAsciiLetterOrDigit(html_[name])) {
            return false;
        }
        const char first = AsciiLowerByte(html_[name]);
        if (first != 's' && first != 'p') {
            return true;
        }
        for (const std::string_view opener :
             {std::string_view("script"), std::string_view("pre")}) {
            std::size_t k = 0;
            for (std::size_t at = name; k < opener.size() && at < n; ++at) {
                if (html_[at] == '\n') {
                    continue;
                }
                if (AsciiLowerByte(html_[at]) != opener[k]) {
                    break;
                }
                ++k;
            }
            if (k == opener.size()) {
                return false;
            }
        }
        return true;
    }

    void Keep(char c) {
        if (pendingSpace_) {
            out_.Put(' ');
            if (inTag_) {
                tagText_.Add(' ');
            }
            pendingSpace_ = false;
        }
        atLineStart_ = false;
        if (inTag_ && (c == '"' || c == '\'')) {
            if (!In(kQuote)) {
                Set(kQuote, true);
                quote_ = c;
            } else if (c == quote_) {
                Set(kQuote, false);
            }
        }
        out_.Put(c);
        if (inTag_) {
            InsideTag(c);
        } else if (c == '>' && In(kComment)) {
            if (!In(kQuote) && out_.EndsWith("-->")) {
                Set(kComment, false);
            }
        } else if (c == '<' && !In(kQuote) && !In(kComment)) {
            inTag_ = true;
            tagText_.Clear();
            atLineStart_ = true;
        }
    }

    void InsideTag(char c) {
        if (c == '>' && !In(kQuote)) {
            EndOfTag();
            return;
        }
        // Past its first bytes nothing in a tag matters until its end; inside a script the tag
        // is left before it gets that long.
        if (tagText_.Full() || (tagText_.Empty() && c == ' ')) {
            return;
        }
        tagText_.Add(AsciiLowerByte(c));
        const std::string_view text = tagText_.View();
        if (text == "!--" && !In(kScript)) {
            inTag_ = false;
            Set(kComment, true);
        } else if (!In(kPhp) && text == "?php") {
            Set(kPhp, true);
        } else if (In(kScript)) {
            // Inside a script a '<' only matters when it opens the closing script tag.
            if (text.size() < 7) {
                inTag_ = Begins("/script", text);
            } else {
                inTag_ = false;
                Set(kScript, !Begins(text, "/script"));
            }
        }
    }

    void EndOfTag() {
        inTag_ = false;
        Set(kPhp, false);
        // Most tags start with none of the bytes that can begin the names that matter.
        const char first = tagText_.Empty() ? '\0' : tagText_.Front();
        if (first != 's' && first != 'p' && first != '/') {
            return;
        }
        const std::string_view text = tagText_.View();
        if (Begins(text, "script")) {
            Set(kScript, true);
        } else if (Begins(text, "/script")) {
            Set(kScript, false);
        }
        if (!In(kScript)) {
            if (Begins(text, "pre")) {
                Set(kPre, true);
            } else if (Begins(text, "/pre")) {
                Set(kPre, false);
            }
        }
    }

    std::string_view html_;
    detail::StopFinder stops_;
    OutputText out_;
    TagText tagText_;
    bool atLineStart_ = true;
    bool pendingSpace_ = false;
    bool inTag_ = false;
    char quote_ = '"';
    std::uint8_t protections_ = 0;
};

}  // namespace

std::string CompressHtml(std::string_view html) {
    return detail::CompressHtml(html, detail::FastestStopScan());
}

std::string detail::CompressHtml(std::string_view html, StopScan scan) {
    return Compressor(html, scan).Run();
}

}  // namespace velmora
