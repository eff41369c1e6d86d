#pragma once

// Alt-letter keys for controls whose texts are not fixed by hand, such as one switch per page
// check: each takes a letter no other control of its page holds yet.

#include <QChar>
#include <QSet>
#include <QString>
#include <optional>

class QWidget;

namespace velmora {

// The letter after the single "&" of `text`, lower-cased; none for "&&" alone or no mark.
std::optional<QChar> MnemonicOf(const QString& text);

// The letters the labels and buttons inside `scope` already hold.
QSet<QChar> MnemonicsIn(const QWidget& scope);

// `text` with "&" before its first letter not in `taken`, a word's first letter preferred, and
// that letter added to `taken`; `text` unchanged when every letter is taken.
QString WithFreeMnemonic(const QString& text, QSet<QChar>& taken);

}  // namespace velmora
