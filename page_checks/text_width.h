#pragma once

// Pixel widths of titles and descriptions as search result pages show them: Liberation Sans
// Regular (metric-compatible with the font those pages use), shaped with HarfBuzz at the font's
// units per em with default features, the advances summed, scaled to the size and rounded once.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::page_checks {

class TextWidthMeter {
public:
    // Finds Liberation Sans Regular through fontconfig. Without it every width is unknown.
    TextWidthMeter();
    // Uses the font file given; a file that is missing or not a font makes widths unknown.
    explicit TextWidthMeter(const std::string& fontFile);
    ~TextWidthMeter();

    TextWidthMeter(const TextWidthMeter&) = delete;
    TextWidthMeter& operator=(const TextWidthMeter&) = delete;

    bool HasFont() const { return font_ != nullptr; }

    // Width in pixels of UTF-8 text at `pixelSize`, or nullopt without the font. Safe to call
    // from several threads at once: the font is immutable once loaded.
    std::optional<int> Width(std::string_view utf8, int pixelSize) const;

    // The font file fontconfig gives for Liberation Sans Regular, or "" when it has none.
    static std::string FindLiberationSans();

private:
    struct Font;
    std::unique_ptr<const Font> font_;
};

}  // namespace velmora::page_checks
