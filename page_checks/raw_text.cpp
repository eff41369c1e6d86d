#include "page_checks/raw_text.h"

#include <cstring>

#include "page_checks/html_chars.h"

namespace velmora::page_checks {
namespace {

// True when page[at] starts "</name" (any case) followed by white space, "/" or ">".
bool IsEndTagOf(std::string_view page, std::size_t at, std::string_view name) {
    const std::size_t stop = at + 2 + name.size();
    if (stop >= page.size() || page[at] != '<' || page[at + 1] != '/') {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (LowerAscii(page[at + 2 + i]) != name[i]) {
            return false;
        }
    }
    const char after = page[stop];
    return IsTagSpace(after) || after == '/' || after == '>';
}

// True when page[at] starts "script" (any case) followed by white space, "/" or ">": after "<"
// or "</" it switches the escaped parts of a script on and off.
bool IsScriptWordAt(std::string_view page, std::size_t at) {
    constexpr std::string_view kScript = "script";
    if (at + kScript.size() >= page.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kScript.size(); ++i) {
        if (LowerAscii(page[at + i]) != kScript[i]) {
            return false;
        }
    }
    const char after = page[at + kScript.size()];
    return IsTagSpace(after) || after == '/' || after == '>';
}

enum class ScriptState { Data, Escaped, DoubleEscaped };

}  // namespace

std::size_t FindRawTextEnd(std::string_view page, std::size_t from, std::string_view name) {
    std::size_t at = from;
    while (at < page.size()) {
        const void* found = std::memchr(page.data() + at, '<', page.size() - at);
        if (found == nullptr) {
            break;
        }
        at = static_cast<std::size_t>(static_cast<const char*>(found) - page.data());
        if (IsEndTagOf(page, at, name)) {
            return at;
        }
        ++at;
    }
    return page.size();
}

std::size_t FindScriptEnd(std::string_view page, std::size_t from) {
    ScriptState state = ScriptState::Data;
    std::size_t at = from;
    const std::size_t size = page.size();
    while (at < size) {
        const char c = page[at];
        if (state == ScriptState::Data) {
            const void* found = std::memchr(page.data() + at, '<', size - at);
            if (found == nullptr) {
                break;
            }
            at = static_cast<std::size_t>(static_cast<const char*>(found) - page.data());
            if (IsEndTagOf(page, at, "script")) {
                return at;
            }
            // "<!--" opens an escaped part. Its two dashes already count towards a closing
            // "-->", so "<!-->" and "<!--->" open and close it at once.
            if (page.substr(at, 4) == "<!--") {
                state = ScriptState::Escaped;
                at += 2;
                continue;
            }
            ++at;
            continue;
        }
        // In escaped parts two or more dashes and ">" return to plain script data.
        if (c == '-') {
            std::size_t run = at;
            while (run < size && page[run] == '-') {
                ++run;
            }
            if (run - at >= 2 && run < size && page[run] == '>') {
                state = ScriptState::Data;
                ++run;
            }
            at = run;
            continue;
        }
        if (c != '<') {
            ++at;
            continue;
        }
        if (state == ScriptState::Escaped) {
            if (IsEndTagOf(page, at, "script")) {
                return at;
            }
            if (at + 1 < size && page[at + 1] != '/' && IsScriptWordAt(page, at + 1)) {
                state = ScriptState::DoubleEscaped;
                at += 7;
                continue;
            }
        } else if (at + 1 < size && page[at + 1] == '/' && IsScriptWordAt(page, at + 2)) {
            state = ScriptState::Escaped;
            at += 8;
            continue;
        }
        ++at;
    }
    return size;
}

}  // namespace velmora::page_checks
