#pragma once

// A page is held with CR LF line breaks whatever its file uses, so that every analysis sees one
// form; these functions convert between a file's bytes and that text, and back to the file's own
// line breaks on save.

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace velmora {

enum class LineBreak { CrLf, Lf, Cr };

// How a page file ends its lines: the break that ends its first line (CR LF when it has none),
// and whether its last line ends with one.
struct LineBreakStyle {
    LineBreak kind = LineBreak::CrLf;
    bool finalBreak = true;

    bool operator==(const LineBreakStyle&) const = default;
};

// "\n", "\r" or "\r\n".
std::string_view LineBreakBytes(LineBreak kind);

// The text a page file's bytes are held as: every line, whatever ends it (LF, CR LF or a lone
// CR), followed by CR LF. A Ctrl-Z that begins the last line and is the file's last byte ends
// the file.
std::string TextFromFileBytes(std::string_view bytes);

// Whether the bytes already are the text they are held as: every line, the last one too, ends
// with CR LF and no CR or LF stands alone. Such a page is held without a copy.
bool IsHeldText(std::string_view bytes);

LineBreakStyle DetectLineBreaks(std::string_view bytes);

// The bytes a held text is written as: every CR LF turned into the style's break, and the last
// one dropped when the file's last line had none.
std::string FileBytesFromText(std::string_view text, LineBreakStyle style);
// Hands the bytes of the held text that is `pieces` joined to `take`, piece by piece, while it
// returns true; false when take refused one. No CR LF may straddle two pieces.
using TakeBytes = std::function<bool(std::string_view)>;
bool WriteFileBytes(std::span<const std::string_view> pieces, LineBreakStyle style,
                    const TakeBytes& take);
// Whether the text is written back as exactly these bytes; compares without a copy.
bool FileBytesMatch(std::string_view text, LineBreakStyle style, std::string_view bytes);

}  // namespace velmora
