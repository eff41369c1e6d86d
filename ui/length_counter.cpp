#include "ui/length_counter.h"

#include <QList>

namespace velmora {

using page_checks::CheckState;

namespace {

constexpr int kTitlePixelSize = 20;
constexpr int kDescriptionPixelSize = 14;

}  // namespace

LengthLimits TitleLimits(const PageCheckOptions& options) {
    return {options.TitleMinimumCharacters, options.TitleMaximumCharacters,
            options.TitleMaximumPixels, kTitlePixelSize};
}

LengthLimits DescriptionLimits(const PageCheckOptions& options) {
    return {options.DescriptionMinimumCharacters, options.DescriptionMaximumCharacters,
            options.DescriptionMaximumPixels, kDescriptionPixelSize};
}

LengthCount CountLength(const page_checks::TextWidthMeter& meter, const QString& text,
                        const LengthLimits& limits) {
    // simplified() collapses every Unicode space, the no-break space among them.
    const QString collapsed = text.simplified();
    LengthCount count;
    count.characters = static_cast<int>(collapsed.toUcs4().size());
    count.pixels = meter.Width(collapsed.toUtf8().toStdString(), limits.pixelSize);
    if (count.characters == 0) {
        count.state = CheckState::Problem;
    } else if (count.characters < limits.minimumCharacters ||
               count.characters > limits.maximumCharacters ||
               (count.pixels && *count.pixels > limits.maximumPixels)) {
        count.state = CheckState::Improve;
    }
    return count;
}

QString CounterText(const LengthCount& count, const LengthLimits& limits) {
    const QString characters = QStringLiteral("%1 / %2–%3 characters")
                                   .arg(count.characters)
                                   .arg(limits.minimumCharacters)
                                   .arg(limits.maximumCharacters);
    if (!count.pixels) {
        return characters + QStringLiteral(" · width unknown");
    }
    return characters +
           QStringLiteral(" · %1 / %2 px").arg(*count.pixels).arg(limits.maximumPixels);
}

}  // namespace velmora
