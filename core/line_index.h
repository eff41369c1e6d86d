#pragma once

// Where a byte of a page stands as a person reads the file: 1-based line and column. Reports
// (JSON, SARIF, CI annotations) point at elements this way.

#include <cstddef>
#include <string_view>
#include <vector>

namespace velmora {

struct TextPosition {
    std::size_t line = 1;
    // Counted in characters: Unicode code points of UTF-8 text, bytes of single-byte text (one
    // character each), so a Windows-1252 page and its UTF-8 form give the same column.
    std::size_t column = 1;

    bool operator==(const TextPosition&) const = default;
};

// The line starts of one text, found once, so that each position costs a binary search and a
// count within its own line. A line ends at LF, CR LF or a lone CR: the breaks a page file may
// use, so the held CR LF text and the file it came from number their lines alike.
class LineIndex {
public:
    enum class Unit { Utf8CodePoints, Bytes };

    // The text must outlive the index. In UTF-8 text a leading byte-order mark takes no column.
    LineIndex(std::string_view text, Unit unit);

    // The position of the byte at `offset` (0-based); an offset past the end counts as the end.
    TextPosition At(std::size_t offset) const;
    // The 1-based line of the byte at `offset`, without counting its column.
    std::size_t LineOf(std::size_t offset) const;

private:
    std::string_view text_;
    Unit unit_;
    std::vector<std::size_t> lineStarts_;
};

}  // namespace velmora
