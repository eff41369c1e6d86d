#include "ui/text_cut.h"

#include <QList>

namespace velmora {
namespace {

const QString kEllipsis = QStringLiteral("…");

QString Prefix(const QList<uint>& codePoints, qsizetype count) {
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), count)
               .trimmed() +
           kEllipsis;
}

std::optional<int> Measure(const page_checks::TextWidthMeter& meter, const QString& text,
                           int pixelSize) {
    return meter.Width(text.toUtf8().toStdString(), pixelSize);
}

}  // namespace

CutText CutToPixels(const page_checks::TextWidthMeter& meter, const QString& text, int pixelSize,
                    int limit) {
    CutText result{text, false, Measure(meter, text, pixelSize)};
    if (!result.pixels || *result.pixels <= limit) {
        return result;
    }
    // Widths grow with the prefix, so the longest prefix that fits is found by halving.
    const QList<uint> codePoints = text.toUcs4();
    qsizetype fits = 0;
    qsizetype tooLong = codePoints.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = fits + (tooLong - fits) / 2;
        if (Measure(meter, Prefix(codePoints, middle), pixelSize).value_or(0) <= limit) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    // Result pages end a cut text at a whole word; a single word too long for the line is cut
    // where it reaches the limit.
    if (fits < codePoints.size() && !QChar::isSpace(codePoints.at(fits))) {
        qsizetype wordStart = fits;
        while (wordStart > 0 && !QChar::isSpace(codePoints.at(wordStart - 1))) {
            --wordStart;
        }
        if (wordStart > 0) {
            fits = wordStart;
        }
    }
    result.text = Prefix(codePoints, fits);
    result.cut = true;
    return result;
}

}  // namespace velmora
