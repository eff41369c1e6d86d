#pragma once

// Cuts a title or description where a result page would, measured by the core's width module.

#include <QString>
#include <optional>

#include "page_checks/text_width.h"

namespace velmora {

struct CutText {
    QString text;  // whole, or the longest start that fits with "…" after it
    bool cut = false;
    std::optional<int> pixels;  // width of the whole text; nullopt when widths are unknown
};

// `text` whole when it fits within `limit` pixels at `pixelSize` or widths are unknown; else
// cut after the last whole word that fits (inside a word only when the first word alone is too
// wide), trailing blanks dropped, with "…" appended within the limit.
CutText CutToPixels(const page_checks::TextWidthMeter& meter, const QString& text, int pixelSize,
                    int limit);

}  // namespace velmora
