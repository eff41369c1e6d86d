#include "ui/edit_text_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "scripted_prompt.h"
#include "ui/width_meter.h"

namespace velmora {
namespace {

int LineHeight(const QPlainTextEdit& edit, int lines) {
    return lines * edit.fontMetrics().lineSpacing();
}

}  // namespace

class EditTextFormTest : public QObject {
    Q_OBJECT

private slots:
    void SingleLineHasFixedHeightWithoutWrap() {
        TEditText dialog;
        dialog.Prime("Title", "A page title", true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QCOMPARE(dialog.windowTitle(), QString("Title"));
        QCOMPARE(dialog.TitleLabel->text(), QString("Title"));
        QVERIFY(dialog.TitleLabel->isReadOnly());
        QCOMPARE(dialog.EditWindow->lineWrapMode(), QPlainTextEdit::NoWrap);
        const int editHeight = dialog.EditWindow->height();
        QVERIFY(editHeight >= LineHeight(*dialog.EditWindow, 1));
        QVERIFY(editHeight < LineHeight(*dialog.EditWindow, 2));
        QCOMPARE(dialog.minimumHeight(), dialog.maximumHeight());
        QCOMPARE(dialog.height(), dialog.minimumHeight());
        QVERIFY(dialog.minimumWidth() >= 200);
        QVERIFY(SaveWindowPicture(dialog, "edit_text_form_single_line"));

        dialog.resize(dialog.width() + 40, dialog.height() + 100);
        QCOMPARE(dialog.height(), dialog.minimumHeight());
        QCOMPARE(dialog.EditWindow->height(), editHeight);
    }

    void MultiLineWrapsAndOnlyGrows() {
        TEditText dialog;
        dialog.Prime("Title", "short", true);
        const int singleHeight = dialog.height();
        dialog.Prime("Description", "A description of the page that runs on", false);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QCOMPARE(dialog.EditWindow->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(dialog.EditWindow->height() >= LineHeight(*dialog.EditWindow, 5));
        QVERIFY(dialog.EditWindow->height() < LineHeight(*dialog.EditWindow, 6));
        const int fitted = dialog.height();
        QVERIFY(fitted > singleHeight);
        QCOMPARE(dialog.minimumHeight(), fitted);
        QCOMPARE(dialog.maximumHeight(), QWIDGETSIZE_MAX);
        QVERIFY(SaveWindowPicture(dialog, "edit_text_form_multi_line"));

        dialog.resize(dialog.width(), fitted + 120);
        QCOMPARE(dialog.height(), fitted + 120);
        dialog.resize(dialog.width(), fitted - 30);
        QCOMPARE(dialog.height(), fitted);

        // Only the width carries over to the next use.
        dialog.resize(420, dialog.height());
        dialog.Prime("Title", "again", true);
        QCOMPARE(dialog.width(), 420);
        QCOMPARE(dialog.height(), singleHeight);
    }

    void EnterIsDiscardedAndTabMovesOn() {
        TEditText dialog;
        dialog.Prime("Description", "one two", false);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        dialog.EditWindow->setFocus();

        for (const Qt::KeyboardModifiers modifiers :
             {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
              Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
            QTest::keyClick(dialog.EditWindow, Qt::Key_Return, modifiers);
            QTest::keyClick(dialog.EditWindow, Qt::Key_Enter, modifiers | Qt::KeypadModifier);
        }
        QCOMPARE(dialog.EditWindow->toPlainText(), QString("one two"));
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.HaveChanged());

        QTest::keyClick(dialog.EditWindow, Qt::Key_Tab);
        QCOMPARE(dialog.EditWindow->toPlainText(), QString("one two"));
        QVERIFY(!dialog.EditWindow->hasFocus());
    }

    void GetTextCleansLineBreaksAndSpaces() {
        TEditText dialog;
        dialog.Prime("Description", "", false);
        dialog.EditWindow->insertPlainText("first\r\nsecond");
        QVERIFY(dialog.HaveChanged());
        QCOMPARE(dialog.GetText(), QString("first second"));

        dialog.EditWindow->setPlainText(" a  \t b\n\n\rc   ");
        QCOMPARE(dialog.GetText(), QString(" a \t b c "));
    }

    void CancelEscapeAndCloseBox() {
        TEditText dialog;
        dialog.Prime("Title", "Original", true);
        dialog.show();
        dialog.EditWindow->setPlainText("Edited");
        QVERIFY(dialog.HaveChanged());
        QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.HaveChanged());
        QCOMPARE(dialog.EditWindow->toPlainText(), QString("Original"));

        dialog.Prime("Title", "Original", true);
        dialog.show();
        dialog.EditWindow->setPlainText("Edited");
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.HaveChanged());

        dialog.Prime("Title", "Original", true);
        dialog.show();
        dialog.EditWindow->setPlainText("Kept");
        dialog.close();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.HaveChanged());
        QCOMPARE(dialog.GetText(), QString("Kept"));

        dialog.Prime("Title", "Original", true);
        dialog.show();
        QTest::mouseClick(dialog.SaveButton, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.HaveChanged());
    }

    void UntouchedTextNeverCountsAsChanged() {
        // Text the edit box reads back differently (line breaks, no-break spaces) is compared
        // with the box's own reading.
        TEditText dialog;
        dialog.Prime("Title", QString::fromUtf8("Caf\u00e9\u00a0de\r\nParis\r"), true);
        QVERIFY(!dialog.HaveChanged());
        dialog.Prime("Description", QString::fromUtf8("one\rtwo\u2029three"), false);
        QVERIFY(!dialog.HaveChanged());

        // Edits keep the no-break spaces of the text.
        dialog.Prime("Title", QString::fromUtf8("Caf\u00e9\u00a0de Paris"), true);
        dialog.EditWindow->moveCursor(QTextCursor::End);
        dialog.EditWindow->insertPlainText("!");
        QVERIFY(dialog.HaveChanged());
        QCOMPARE(dialog.GetText(), QString::fromUtf8("Caf\u00e9\u00a0de Paris!"));
    }

    void CounterFollowsTypingThroughEachState() {
        const page_checks::TextWidthMeter& meter = SharedWidthMeter();
        if (!meter.HasFont()) {
            QSKIP("Liberation Sans is not installed");
        }
        const LengthLimits limits = TitleLimits(PageCheckOptions());
        TEditText dialog;
        dialog.Prime("Title", "", true, limits);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.LengthCounter->isVisible());
        QCOMPARE(dialog.LengthCounter->text(), QString("0 / 30–60 characters · 0 / 600 px"));
        QCOMPARE(dialog.LengthCounter->toolTip(), QString("problem"));
        SavePicture(dialog, "edit_text_counter_empty");

        // Typed key by key; white space runs count once, as the checks count them.
        QTest::keyClicks(dialog.EditWindow, "Fresh   sourdough bread");
        const QString typed = "Fresh sourdough bread";
        QCOMPARE(dialog.LengthCounter->text(), QString("21 / 30–60 characters · %1 / 600 px")
                                                   .arg(*meter.Width(typed.toStdString(), 20)));
        QCOMPARE(dialog.LengthCounter->toolTip(), QString("improve"));
        SavePicture(dialog, "edit_text_counter_short");

        QTest::keyClicks(dialog.EditWindow, " and rye loaves from the old town");
        QCOMPARE(dialog.LengthCounter->toolTip(), QString("good"));
        QCOMPARE(dialog.LengthCounter->palette().color(QPalette::WindowText),
                 dialog.palette().color(QPalette::WindowText));
        SavePicture(dialog, "edit_text_counter_good");

        // Within 60 characters yet wider than 600 px: capitals are wide.
        dialog.EditWindow->setPlainText(QString(50, 'W'));
        QVERIFY(dialog.LengthCounter->text().startsWith("50 / 30–60 characters · "));
        QCOMPARE(dialog.LengthCounter->toolTip(), QString("improve"));
        QVERIFY(dialog.LengthCounter->palette().color(QPalette::WindowText) !=
                dialog.palette().color(QPalette::WindowText));
        SavePicture(dialog, "edit_text_counter_too_wide");
    }

    void DescriptionCounterAndNoCounterWithoutLimits() {
        TEditText dialog;
        const LengthLimits limits = DescriptionLimits(PageCheckOptions());
        dialog.Prime("Description", "Fresh bread", false, limits);
        QVERIFY(dialog.LengthCounter->text().startsWith("11 / 70–160 characters · "));
        QVERIFY(dialog.LengthCounter->text().endsWith(" / 920 px") ||
                dialog.LengthCounter->text().endsWith("width unknown"));
        dialog.Prime("Title", "Fresh bread", true);
        QVERIFY(dialog.LengthCounter->isHidden());
    }

    void CounterWidthCallIsQuick() {
        const QString title = "Sourdough bread and rye loaves baked fresh every morning";
        QElapsedTimer timer;
        timer.start();
        for (int key = 0; key < 100; ++key) {
            CountLength(SharedWidthMeter(), title, TitleLimits(PageCheckOptions()));
        }
        // 16 ms a key is the budget; a sanitized debug build still stays far below it.
        QVERIFY2(timer.elapsed() < 100 * 16 / 4, qPrintable(QString::number(timer.elapsed())));
    }

private:
    static void SavePicture(TEditText& dialog, const QString& name) {
        QVERIFY(SaveWindowPicture(dialog, name));
        const QPalette light = QApplication::palette();
        QApplication::setPalette(DarkPalette());
        QCoreApplication::processEvents();
        dialog.EditWindow->setPlainText(dialog.EditWindow->toPlainText());
        QVERIFY(SaveWindowPicture(dialog, name + "_dark"));
        QApplication::setPalette(light);
        QCoreApplication::processEvents();
        dialog.EditWindow->setPlainText(dialog.EditWindow->toPlainText());
    }
};

}  // namespace velmora

QTEST_MAIN(velmora::EditTextFormTest)
#include "edit_text_form_test.moc"
