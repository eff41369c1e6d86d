#pragma once

// The head reader's steps that the head writer and the tests use as well.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/html_functions_read.h"

namespace velmora::detail {

struct MetaContentPosition {
    bool found = false;  // only for a content attribute with a double-quoted value in the tag
    std::size_t ValueStart = 0;  // first byte of the content value
    std::size_t ValueLength = 0;
};

// What the writer needs to know to rewrite the meta tag named Name in place.
struct MetaTagParts {
    MetaTagPosition tag;
    bool closed = false;        // the tag ends with its own ">"
    std::size_t NameStart = 0;  // the name attribute's value, as the tag writes it
    std::size_t NameLength = 0;
    MetaContentPosition content;
};

std::string GetMetaContent(std::string_view text, std::string_view name);
MetaContentPosition FindMetaContent(std::string_view text, std::string_view name);
MetaTagParts FindMetaTagParts(std::string_view text, std::string_view name);
// The first terminator outside single- or double-quoted parts at or after Position, or the
// position of the last byte when there is none.
std::size_t FindTagEnd(std::string_view text, std::size_t position, char terminator);
std::string GetTextBetween(std::string_view text, std::string_view startTag,
                           std::string_view endTag);
std::string DecodeEntities(std::string_view text);

}  // namespace velmora::detail
