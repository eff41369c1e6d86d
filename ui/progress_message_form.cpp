#include "ui/progress_message_form.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

namespace velmora {

namespace {

constexpr qint64 kDrawIntervalMs = 50;

}  // namespace

TProgressForm::TProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      DisplayMessage(new QLabel(this)),
      ProgressBar(new QProgressBar(this)) {
    setObjectName("ProgressMessageForm");
    DisplayMessage->setObjectName("DisplayMessage");
    ProgressBar->setObjectName("ProgressBar");
    DisplayMessage->setAlignment(Qt::AlignCenter);
    DisplayMessage->setMinimumWidth(332);
    ProgressBar->setRange(0, 100);
    ProgressBar->setTextVisible(false);
    ProgressBar->setMinimumSize(332, 20);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(7, 7, 7, 7);
    layout->addWidget(DisplayMessage);
    layout->addWidget(ProgressBar);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Shown without a modal loop, yet the rest of the program must wait for the work.
    setWindowModality(Qt::ApplicationModal);
}

void TProgressForm::Start(int maximum) {
    DisplayMessage->setText(QStringLiteral("Processing words - Please wait"));
    setWindowTitle(QStringLiteral("Working ..."));
    ProgressBar->setRange(0, std::max(maximum, 0));
    ProgressBar->setValue(0);
    show();
    raise();
    Draw();
}

void TProgressForm::Advance(int steps) {
    SetPosition(ProgressBar->value() + steps);
}

void TProgressForm::Finish() {
    hide();
}

void TProgressForm::SetPosition(int value) {
    ProgressBar->setValue(std::clamp(value, ProgressBar->minimum(), ProgressBar->maximum()));
    DrawWhenDue();
}

void TProgressForm::Draw() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceDrawn_.start();
}

void TProgressForm::DrawWhenDue() {
    if (!sinceDrawn_.isValid() || sinceDrawn_.elapsed() >= kDrawIntervalMs) {
        Draw();
    }
}

void TProgressForm::BarIndicator::SetMinimum(int value) {
    form_.ProgressBar->setMinimum(value);
}

void TProgressForm::BarIndicator::SetMaximum(int value) {
    form_.ProgressBar->setMaximum(value);
}

int TProgressForm::BarIndicator::Maximum() const {
    return form_.ProgressBar->maximum();
}

void TProgressForm::BarIndicator::SetPosition(int value) {
    form_.SetPosition(value);
}

int TProgressForm::BarIndicator::Position() const {
    return form_.ProgressBar->value();
}

}  // namespace velmora
