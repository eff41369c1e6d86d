#include "ui/progress_message_form.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "scripted_prompt.h"

namespace velmora {
namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

}  // namespace

class ProgressMessageFormTest : public QObject {
    Q_OBJECT

private slots:
    void StartShowsDrawnBlockingWindow() {
        QWidget owner;
        owner.show();
        TProgressForm form(&owner);
        PaintCounter counter;
        form.ProgressBar->installEventFilter(&counter);

        form.Start(3);
        QVERIFY(form.isVisible());
        QVERIFY(counter.paints > 0);
        QCOMPARE(form.windowModality(), Qt::ApplicationModal);
        QCOMPARE(form.windowTitle(), QString("Working ..."));
        QCOMPARE(form.DisplayMessage->text(), QString("Processing words - Please wait"));
        QCOMPARE(form.ProgressBar->minimum(), 0);
        QCOMPARE(form.ProgressBar->maximum(), 3);
        QCOMPARE(form.ProgressBar->value(), 0);
        QVERIFY(form.width() >= 345 && form.height() >= 53);
        QVERIFY(SaveWindowPicture(form, "progress_message_form"));

        // While the bar moves, pending events are handled again once 50 ms have passed.
        bool handled = false;
        QTimer::singleShot(0, [&handled] { handled = true; });
        QThread::msleep(60);
        form.Advance();
        QVERIFY(handled);
        handled = false;
        QTimer::singleShot(0, [&handled] { handled = true; });
        QThread::msleep(60);
        form.Indicator().SetPosition(2);
        QVERIFY(handled);

        form.Advance();
        QCOMPARE(form.ProgressBar->value(), 3);
        form.Advance();
        QCOMPARE(form.ProgressBar->value(), 3);
        form.Finish();
        QVERIFY(!form.isVisible());

        // A second run starts from the beginning, whatever the last one left.
        form.Start(5);
        QCOMPARE(form.ProgressBar->value(), 0);
        QCOMPARE(form.ProgressBar->maximum(), 5);
        form.Finish();
    }

    void NothingToDoShowsAndHides() {
        TProgressForm form;
        form.Start(0);
        QVERIFY(form.isVisible());
        QCOMPARE(form.ProgressBar->maximum(), 0);
        form.Finish();
        QVERIFY(!form.isVisible());
    }

    void IndicatorDrivesTheBar() {
        TProgressForm form;
        form.Start(1);
        ProgressIndicator& indicator = form.Indicator();
        indicator.SetMinimum(0);
        indicator.SetMaximum(40);
        QCOMPARE(indicator.Maximum(), 40);
        indicator.SetPosition(27);
        QCOMPARE(indicator.Position(), 27);
        QCOMPARE(form.ProgressBar->value(), 27);
        indicator.SetPosition(39);
        QCOMPARE(form.ProgressBar->value(), 39);
        form.Finish();
        QVERIFY(!form.isVisible());
    }
};

}  // namespace velmora

QTEST_MAIN(velmora::ProgressMessageFormTest)
#include "progress_message_form_test.moc"
