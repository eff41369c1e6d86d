#pragma once

// Every message box of the desktop program goes through this interface, so tests can answer.

#include <QString>

class QWidget;

namespace velmora {

class Prompt {
public:
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompt() = default;
    // Shows the message modally and returns the answer. Esc or the close box give Cancel for
    // Yes/No/Cancel and No for Yes/No.
    virtual Answer Ask(QWidget* parent, const QString& caption, const QString& text,
                       Buttons buttons, Icon icon) = 0;
};

}  // namespace velmora
