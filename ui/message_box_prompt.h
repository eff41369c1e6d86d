#pragma once

// The prompt of the running program: a modal QMessageBox.

#include "ui/prompt.h"

namespace velmora {

class MessageBoxPrompt : public Prompt {
public:
    Answer Ask(QWidget* parent, const QString& caption, const QString& text, Buttons buttons,
               Icon icon) override;
};

}  // namespace velmora
