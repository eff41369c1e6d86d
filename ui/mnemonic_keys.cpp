#include "ui/mnemonic_keys.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

namespace velmora {
namespace {

std::optional<qsizetype> FreeLetter(const QString& text, const QSet<QChar>& taken,
                                    bool wordStartsOnly) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar letter = text.at(i);
        const bool wordStart = i == 0 || !text.at(i - 1).isLetterOrNumber();
        if (letter.isLetter() && letter.unicode() < 0x80 && (wordStart || !wordStartsOnly) &&
            !taken.contains(letter.toLower())) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<QChar> MnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&')) {
            continue;
        }
        if (text.at(i + 1) != QLatin1Char('&')) {
            return text.at(i + 1).toLower();
        }
        ++i;
    }
    return std::nullopt;
}

QSet<QChar> MnemonicsIn(const QWidget& scope) {
    QSet<QChar> letters;
    for (const QLabel* label : scope.findChildren<QLabel*>()) {
        if (const auto letter = MnemonicOf(label->text())) {
            letters.insert(*letter);
        }
    }
    for (const QAbstractButton* button : scope.findChildren<QAbstractButton*>()) {
        if (const auto letter = MnemonicOf(button->text())) {
            letters.insert(*letter);
        }
    }
    return letters;
}

QString WithFreeMnemonic(const QString& text, QSet<QChar>& taken) {
    auto at = FreeLetter(text, taken, true);
    if (!at) {
        at = FreeLetter(text, taken, false);
    }
    if (!at) {
        return text;
    }
    taken.insert(text.at(*at).toLower());
    QString marked = text;
    marked.insert(*at, QLatin1Char('&'));
    return marked;
}

}  // namespace velmora
