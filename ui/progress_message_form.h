#pragma once

// The small window that shows a bar while the keyword work runs on the interface thread.

#include <QDialog>
#include <QElapsedTimer>

#include "analysis/progress_indicator.h"

class QLabel;
class QProgressBar;

namespace velmora {

class TProgressForm : public QDialog {
    Q_OBJECT

public:
    explicit TProgressForm(QWidget* parent = nullptr);

    QLabel* DisplayMessage;
    QProgressBar* ProgressBar;

    // Sets the texts, position 0 and the maximum, then shows the window and has it drawn before
    // the caller's work starts. Other windows take no input while it is shown.
    void Start(int maximum);
    // Moves the bar on; the window is drawn again at most every 50 ms.
    void Advance(int steps = 1);
    void Finish();

    // The bar as the keyword sort drives it.
    ProgressIndicator& Indicator() { return indicator_; }

private:
    class BarIndicator : public ProgressIndicator {
    public:
        explicit BarIndicator(TProgressForm& form) : form_(form) {}
        void SetMinimum(int value) override;
        void SetMaximum(int value) override;
        int Maximum() const override;
        void SetPosition(int value) override;
        int Position() const override;

    private:
        TProgressForm& form_;
    };

    void SetPosition(int value);
    // Lets the window system draw the window; user input stays queued.
    void Draw();
    void DrawWhenDue();

    BarIndicator indicator_{*this};
    QElapsedTimer sinceDrawn_;
};

}  // namespace velmora
