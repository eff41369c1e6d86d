#pragma once

// The live length of a title or description as it is typed: characters and pixels against the
// page-check limits, with the state the title or description check would give.

#include <QString>
#include <optional>

#include "options/page_check_options.h"
#include "page_checks/check_result.h"
#include "page_checks/text_width.h"

namespace velmora {

struct LengthLimits {
    int minimumCharacters = 0;
    int maximumCharacters = 0;
    int maximumPixels = 0;
    int pixelSize = 0;  // the size a result page draws the text at
};

LengthLimits TitleLimits(const PageCheckOptions& options);
LengthLimits DescriptionLimits(const PageCheckOptions& options);

struct LengthCount {
    int characters = 0;
    std::optional<int> pixels;  // nullopt when widths are unknown
    // Problem when empty, improve outside the character range or over the pixel limit.
    page_checks::CheckState state = page_checks::CheckState::Good;
};

// Counts with white space collapsed and the ends trimmed, as the checks do.
LengthCount CountLength(const page_checks::TextWidthMeter& meter, const QString& text,
                        const LengthLimits& limits);
// "52 / 30–60 characters · 480 / 600 px": the length and its limits; "… · width unknown"
// without the font.
QString CounterText(const LengthCount& count, const LengthLimits& limits);

}  // namespace velmora
