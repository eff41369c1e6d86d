#pragma once

// Every advice line whole, in a list that scrolls with the keyboard: the file window's advice
// box is three lines high and cuts long lines.

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace velmora {

class TAdviceDialog : public QDialog {
    Q_OBJECT

public:
    explicit TAdviceDialog(QWidget* parent = nullptr);

    void SetAdvice(const QStringList& lines);

    QListWidget* Lines;
    QPushButton* CloseButton;
};

}  // namespace velmora
