#include "ui/message_box_prompt.h"

#include <QMessageBox>

namespace velmora {
namespace {

QMessageBox::Icon MessageIcon(Prompt::Icon icon) {
    switch (icon) {
        case Prompt::Icon::Information:
            return QMessageBox::Information;
        case Prompt::Icon::Question:
            return QMessageBox::Question;
        case Prompt::Icon::Warning:
            return QMessageBox::Warning;
        case Prompt::Icon::Critical:
            return QMessageBox::Critical;
        case Prompt::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

Prompt::Answer MessageBoxPrompt::Ask(QWidget* parent, const QString& caption, const QString& text,
                                     Buttons buttons, Icon icon) {
    QMessageBox box(MessageIcon(icon), caption, text, QMessageBox::NoButton, parent);
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            break;
    }
    // The close box: Cancel where there is one, No for Yes/No.
    if (buttons == Buttons::YesNo) {
        return Answer::No;
    }
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

}  // namespace velmora
