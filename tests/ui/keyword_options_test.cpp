#include "ui/keyword_options.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "options/page_check_settings.h"
#include "options/saveable_velmora_options.h"
#include "scripted_prompt.h"
#include "tests/support/private_config_home.h"
#include "ui/mnemonic_keys.h"
#include "ui/page_check_options_page.h"

namespace velmora {
namespace {

// Replaces the field's text by typing, as the user does.
void Type(QSpinBox& field, const QString& text) {
    field.setFocus();
    field.selectAll();
    QTest::keyClicks(&field, text);
}

struct Pairs {
    int minimumCount, maximumCount, minimumTags, maximumTags;
    bool operator==(const Pairs&) const = default;
};

Pairs Stored(const KelVelmoraOptions& options) {
    return {options.MinimumKeywordCount, options.MaximumKeywordCount,
            options.MinimumRecommendedTags, options.MaximumRecommendedTags};
}

Pairs Shown(const TKeywordsOptionsForm& form) {
    return {form.EditMinimumKeywordCount->value(), form.EditMaximumKeywordCount->value(),
            form.EditRecMinKeywords->value(), form.EditRecMaxKeywords->value()};
}

// The two flags and the five compression controls stand in one row of the table.
void VerifyCompressionRow(const TKeywordsOptionsForm& form, const KelVelmoraOptions& options) {
    QCOMPARE(form.chkEnableCompression->isChecked(), options.CompressionEnabled);
    QCOMPARE(form.chkWarnOnCompress->isChecked(), options.WarnBeforeCompressing);
    QCOMPARE(form.chkWarnOnCompress->isEnabled(), options.CompressionEnabled);
    const QRadioButton* expected = !options.CompressionEnabled     ? form.optCompactNever
                                   : options.WarnBeforeCompressing ? form.optCompactSometimes
                                                                   : form.optCompactAlways;
    for (const QRadioButton* button :
         {form.optCompactAlways, form.optCompactSometimes, form.optCompactNever}) {
        QCOMPARE(button->isChecked(), button == expected);
    }
}

// The controls of the shown page that take the focus; a spin box stands for its inner line edit,
// and a widget that hands its focus on (the tab control to its tab bar) for that one.
QList<QWidget*> Controls(const QWidget& dialog) {
    QList<QWidget*> controls;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (widget->isVisibleTo(&dialog) && (widget->focusPolicy() & Qt::TabFocus) != 0 &&
            widget->focusProxy() == nullptr &&
            qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) == nullptr) {
            controls.append(widget);
        }
    }
    return controls;
}

// A button's own Alt-letter key, or that of the shown label naming the control.
std::optional<QChar> KeyOf(const QWidget& control, const QWidget& dialog) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        return MnemonicOf(button->text());
    }
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->buddy() == &control && label->isVisibleTo(&dialog)) {
            return MnemonicOf(label->text());
        }
    }
    return std::nullopt;
}

QList<QWidget*> TabChain(QWidget& dialog) {
    QList<QWidget*> chain;
    for (QWidget* widget = dialog.nextInFocusChain(); widget != &dialog;
         widget = widget->nextInFocusChain()) {
        chain.append(widget);
    }
    return chain;
}

}  // namespace

class KeywordOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(config_.IsValid()); }

    void init() {
        options_ = std::make_unique<KelVelmoraOptions>();
        form_ = std::make_unique<TKeywordsOptionsForm>(prompt_);
        Prime(*form_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

    void cleanup() {
        form_.reset();
        options_.reset();
        prompt_.Clear();
    }

    void ControlsAndTexts() {
        TKeywordsOptionsForm& form = *form_;
        QCOMPARE(form.windowTitle(), QString("Kel - Velmora - Options"));
        QCOMPARE(form.PageControl->count(), 3);
        QCOMPARE(form.PageControl->tabText(0), QString("Meta Tags"));
        QCOMPARE(form.PageControl->tabText(1), QString("Compact Options"));
        QCOMPARE(form.PageControl->tabText(2), QString("Page Checks"));
        QCOMPARE(form.CloseButton->text(), QString("&Apply"));
        QVERIFY(form.CloseButton->isDefault());
        QVERIFY(form.width() >= 336 && form.height() >= 352);
        QCOMPARE(form.EditRecMinKeywords->toolTip(),
                 QString("This is the minimum number of meta tags that a page should have."));
        QCOMPARE(form.RadioCaseInsensitiveLower->text(),
                 QString("Keywords case insensitive - &lower case"));
        for (const QSpinBox* field : {form.EditRecMaxKeywords, form.EdtMaxKeywordCount,
                                      form.EditMinimumKeywordCount, form.EditMaximumKeywordCount}) {
            QVERIFY(!field->toolTip().isEmpty());
        }
        QCOMPARE(form.EditMinimumKeywordCount->minimum(), 1);
        QCOMPARE(form.EditMinimumKeywordCount->maximum(), 99);
        QCOMPARE(form.EditRecMinKeywords->maximum(), 99);
        QCOMPARE(form.EditMaximumKeywordCount->minimum(), 2);
        QCOMPARE(form.EditRecMaxKeywords->maximum(), 100);
        QCOMPARE(form.EdtMaxKeywordCount->minimum(), 1);
        QCOMPARE(form.EditKeywordInEvery->minimum(), 8);
        QCOMPARE(form.EditKeywordInEvery->maximum(), 100);
        QCOMPARE(Shown(form), (Pairs{2, 10, 2, 20}));
        QCOMPARE(form.EdtMaxKeywordCount->value(), 3);
        QCOMPARE(form.EditKeywordInEvery->value(), 10);
        QVERIFY(form.RadioCaseInsensitiveMixed->isChecked());
        QVERIFY(SaveWindowPicture(form, "keyword_options_meta_tags"));
        form.PageControl->setCurrentWidget(form.CompressTabSheet);
        QVERIFY(SaveWindowPicture(form, "keyword_options_compact"));
    }

    void EachPageReachesEveryControlByItsOwnKeyOrANamedTabStop() {
        TKeywordsOptionsForm& form = *form_;
        for (const int page : {0, 1, 2}) {
            form.PageControl->setCurrentIndex(page);
            const QList<QWidget*> chain = TabChain(form);
            QSet<QChar> keys;
            for (QWidget* control : Controls(form)) {
                const QByteArray what =
                    QString("page %1, %2 %3")
                        .arg(page)
                        .arg(control->metaObject()->className(), control->objectName())
                        .toUtf8();
                const std::optional<QChar> key = KeyOf(*control, form);
                if (!key) {
                    const QAccessibleInterface* accessible =
                        QAccessible::queryAccessibleInterface(control);
                    QVERIFY2(chain.contains(control), what.constData());
                    QVERIFY2(
                        accessible != nullptr && !accessible->text(QAccessible::Name).isEmpty(),
                        what.constData());
                    continue;
                }
                QVERIFY2(!keys.contains(*key), what.constData());
                keys.insert(*key);
                if (qobject_cast<QAbstractButton*>(control) == nullptr) {
                    QTest::keyClick(&form, key->toUpper().toLatin1(), Qt::AltModifier);
                    QVERIFY2(
                        control == form.focusWidget() || control->isAncestorOf(form.focusWidget()),
                        what.constData());
                }
            }
            QVERIFY(keys.size() >= 7);
        }
        // Letters run out before the switches do; the first ones still take a key.
        QCOMPARE(form.PageChecksTabSheet->Switches[0]->text(), QString("&Title"));
    }

    void PairRulesApplyAsTyped() {
        TKeywordsOptionsForm& form = *form_;
        Type(*form.EditMaximumKeywordCount, "5");
        Type(*form.EditMinimumKeywordCount, "5");
        QCOMPARE(form.EditMaximumKeywordCount->value(), 6);
        QCOMPARE(Stored(form.Edited()), (Pairs{5, 6, 2, 20}));

        Type(*form.EditMaximumKeywordCount, "3");
        QCOMPARE(form.EditMinimumKeywordCount->value(), 2);
        QCOMPARE(Stored(form.Edited()), (Pairs{2, 3, 2, 20}));

        Type(*form.EditRecMinKeywords, "25");
        QCOMPARE(Stored(form.Edited()), (Pairs{2, 3, 25, 26}));
        Type(*form.EditRecMaxKeywords, "7");
        QCOMPARE(Stored(form.Edited()), (Pairs{2, 3, 6, 7}));

        Type(*form.EdtMaxKeywordCount, "12");
        QCOMPARE(form.Edited().KeywordCountBeforeSpamming, 12);
        Type(*form.EditKeywordInEvery, "40");
        QCOMPARE(form.Edited().KeywordOneInEvery, 40);
        // Text outside a field's range never reaches the record.
        Type(*form.EditKeywordInEvery, "0");
        Type(*form.EditMinimumKeywordCount, "-");
        QCOMPARE(form.Edited().KeywordOneInEvery, 40);
        QCOMPARE(Stored(form.Edited()), (Pairs{2, 3, 6, 7}));
    }

    void UpdateDisplayShowsTheRecordAsItStarted() {
        TKeywordsOptionsForm& form = *form_;
        form.EditMinimumKeywordCount->setValue(1);
        form.EditMaximumKeywordCount->setValue(2);
        QCOMPARE(Stored(form.Edited()), (Pairs{1, 2, 2, 20}));
        form.RadioCaseSensitive->click();
        QTest::mouseClick(form.DefaultButton, Qt::LeftButton);
        QCOMPARE(Stored(form.Edited()), (Pairs{2, 10, 2, 20}));
        QCOMPARE(Shown(form), (Pairs{2, 10, 2, 20}));
        QCOMPARE(form.Edited().KeywordCase, KeywordCaseMode::CaseInsensitiveMixed);
        QVERIFY(form.RadioCaseInsensitiveMixed->isChecked());
        QVERIFY(form.isVisible());

        // Equal pairs show and store as maximum - 1 and maximum; values outside a range clamp;
        // an unknown case mode shows as case sensitive and stays.
        options_->MinimumKeywordCount = 7;
        options_->MaximumKeywordCount = 7;
        options_->MinimumRecommendedTags = 300;
        options_->MaximumRecommendedTags = 500;
        options_->KeywordOneInEvery = 3;
        options_->KeywordCountBeforeSpamming = 0;
        options_->KeywordCase = KeywordCaseMode{9};
        Prime(form);
        QCOMPARE(Shown(form), (Pairs{6, 7, 99, 100}));
        QCOMPARE(Stored(form.Edited()), (Pairs{6, 7, 99, 100}));
        QCOMPARE(form.Edited().KeywordOneInEvery, 8);
        QCOMPARE(form.Edited().KeywordCountBeforeSpamming, 1);
        QVERIFY(form.RadioCaseSensitive->isChecked());
        QCOMPARE(form.Edited().KeywordCase, KeywordCaseMode{9});
    }

    void ResetCancelAndCloseBox() {
        TKeywordsOptionsForm& form = *form_;
        Type(*form.EditRecMaxKeywords, "30");
        form.RadioCaseInsensitiveLower->click();
        form.optCompactNever->click();
        QTest::mouseClick(form.ResetButton, Qt::LeftButton);
        QVERIFY(form.isVisible());
        QCOMPARE(form.Edited().MaximumRecommendedTags, 20);
        QCOMPARE(form.Edited().KeywordCase, KeywordCaseMode::CaseInsensitiveMixed);
        QVERIFY(form.Edited().CompressionEnabled);
        QCOMPARE(form.EditRecMaxKeywords->value(), 20);
        QVERIFY(form.RadioCaseInsensitiveMixed->isChecked());

        // Cancel restores the settings as they were when shown, and writes them.
        Type(*form.EditRecMaxKeywords, "31");
        Save(form.Edited());
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.Edited().MaximumRecommendedTags, 20);
        QCOMPARE(StoredOptions().MaximumRecommendedTags, 20);

        // The close box keeps the edits and writes them.
        Reprime(form);
        form.show();
        Type(*form.EditRecMaxKeywords, "33");
        form.close();
        QVERIFY(!form.isVisible());
        QCOMPARE(form.Edited().MaximumRecommendedTags, 33);
        QCOMPARE(StoredOptions().MaximumRecommendedTags, 33);

        // Esc cancels; Enter applies.
        Reprime(form);
        form.show();
        Type(*form.EditRecMaxKeywords, "44");
        QTest::keyClick(form.EditRecMaxKeywords, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        QCOMPARE(StoredOptions().MaximumRecommendedTags, 33);
        Reprime(form);
        form.show();
        Type(*form.EditRecMaxKeywords, "45");
        QTest::keyClick(form.EditRecMaxKeywords, Qt::Key_Return);
        QVERIFY(!form.isVisible());
        QCOMPARE(StoredOptions().MaximumRecommendedTags, 45);
        QVERIFY(prompt_.Asked().isEmpty());
    }

    void CompressionControlsStayInARowOfTheTable() {
        TKeywordsOptionsForm& form = *form_;
        form.PageControl->setCurrentWidget(form.CompressTabSheet);
        VerifyCompressionRow(form, form.Edited());
        const QList<QAbstractButton*> clicks{
            form.optCompactAlways,     form.optCompactNever,      form.chkEnableCompression,
            form.chkWarnOnCompress,    form.chkEnableCompression, form.optCompactSometimes,
            form.chkWarnOnCompress,    form.chkEnableCompression, form.optCompactAlways,
            form.chkEnableCompression, form.chkWarnOnCompress,    form.optCompactNever};
        for (QAbstractButton* button : clicks) {
            QTest::mouseClick(button, Qt::LeftButton);
            VerifyCompressionRow(form, form.Edited());
        }

        QTest::mouseClick(form.optCompactAlways, Qt::LeftButton);
        QVERIFY(form.Edited().CompressionEnabled && !form.Edited().WarnBeforeCompressing);
        QTest::mouseClick(form.optCompactNever, Qt::LeftButton);
        QVERIFY(!form.Edited().CompressionEnabled && !form.Edited().WarnBeforeCompressing);
        QVERIFY(!form.chkWarnOnCompress->isEnabled());
        QTest::mouseClick(form.CloseButton, Qt::LeftButton);

        // Reopening shows exactly what was stored, on the Meta Tags page.
        const KelVelmoraOptions reloaded = StoredOptions();
        QVERIFY(!reloaded.CompressionEnabled && !reloaded.WarnBeforeCompressing);
        form.Prime(reloaded, PageCheckSettings().Load());
        QCOMPARE(form.PageControl->currentWidget(), form.MetaTagsTabSheet);
        VerifyCompressionRow(form, reloaded);
        QVERIFY(form.optCompactNever->isChecked());
        Prime(form);
    }

    void PageChecksPageEditsTheStoredThresholdsAndSwitches() {
        TKeywordsOptionsForm& form = *form_;
        TPageCheckOptionsPage& page = *form.PageChecksTabSheet;
        const auto numbers = PageCheckNumbers();
        QCOMPARE(page.Numbers.size(), static_cast<qsizetype>(numbers.size()));
        for (qsizetype i = 0; i < page.Numbers.size(); ++i) {
            const PageCheckNumber& number = numbers[static_cast<std::size_t>(i)];
            QCOMPARE(page.Numbers[i]->minimum(), number.minimum);
            QCOMPARE(page.Numbers[i]->maximum(), number.maximum);
            QCOMPARE(page.Numbers[i]->value(), PageCheckOptions().*(number.field));
            QVERIFY(!page.Numbers[i]->accessibleName().isEmpty());
        }
        QCOMPARE(page.Switches.size(), static_cast<qsizetype>(kCheckCount));
        QCOMPARE(page.Switches[7]->text(), QString("Social previews"));
        form.PageControl->setCurrentIndex(2);
        QVERIFY(SaveWindowPicture(form, "keyword_options_page_checks"));
        SaveDarkPicture(form, "keyword_options_page_checks_dark");

        // Keys that would leave the range are refused; a minimum above its maximum comes down.
        Type(*page.Numbers[2], "99999");
        QCOMPARE(page.Numbers[2]->value(), 999);
        Type(*page.Numbers[2], "4800");
        Type(*page.Numbers[0], "80");
        page.Switches[7]->click();
        QTest::mouseClick(form.CloseButton, Qt::LeftButton);
        PageCheckOptions stored = PageCheckSettings().Load();
        QCOMPARE(stored.TitleMaximumPixels, 4800);
        QCOMPARE(stored.TitleMinimumCharacters, 60);
        QVERIFY(!stored.Enabled(CheckId::Social));

        // Cancel leaves the store alone; Reset goes back to it; Defaults to the record's own.
        Prime(form);
        form.show();
        QCOMPARE(page.Numbers[2]->value(), 4800);
        Type(*page.Numbers[2], "700");
        QTest::mouseClick(page.ResetButton, Qt::LeftButton);
        QCOMPARE(page.Numbers[2]->value(), 4800);
        Type(*page.Numbers[2], "700");
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        QCOMPARE(PageCheckSettings().Load().TitleMaximumPixels, 4800);
        Prime(form);
        form.show();
        QTest::mouseClick(page.DefaultButton, Qt::LeftButton);
        QVERIFY(page.Switches[7]->isChecked());
        form.close();
        QCOMPARE(PageCheckSettings().Load(), PageCheckOptions());
    }

    void RefusedWriteIsShownAndTheDialogCloses() {
        const QString file = config_.Path() + "/Kelgard/HtmlVelmora.conf";
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file));
        prompt_.Answer(Prompt::Answer::Ok);
        QTest::mouseClick(form_->CloseButton, Qt::LeftButton);
        QVERIFY(QDir().rmdir(file));
        QVERIFY(!form_->isVisible());
        QCOMPARE(prompt_.Asked().size(), 1);
        QCOMPARE(prompt_.Asked().front().caption, QString("Velmora"));
        QCOMPARE(prompt_.Asked().front().icon, Prompt::Icon::Critical);
        QVERIFY(prompt_.Asked().front().text.startsWith("Failed to set data for"));
    }

private:
    // Primes the dialog with the test's record and the stored page-check settings, as the file
    // window does.
    void Prime(TKeywordsOptionsForm& form) { form.Prime(*options_, PageCheckSettings().Load()); }

    // Takes back what the dialog handed back, and primes it again.
    void Reprime(TKeywordsOptionsForm& form) {
        options_->Assign(form.Edited());
        Prime(form);
    }

    static KelVelmoraOptions StoredOptions() {
        KelSaveableVelmoraOptions stored;
        stored.LoadFromRegistry();
        KelVelmoraOptions copy;
        copy.Assign(stored);
        return copy;
    }

    static void Save(const KelVelmoraOptions& options) {
        KelSaveableVelmoraOptions stored;
        stored.Assign(options);
        stored.SaveToRegistry();
    }

    static void SaveDarkPicture(QWidget& widget, const QString& name) {
        const QPalette light = QApplication::palette();
        QApplication::setPalette(DarkPalette());
        QCoreApplication::processEvents();
        QVERIFY(SaveWindowPicture(widget, name));
        QApplication::setPalette(light);
        QCoreApplication::processEvents();
    }

    test::PrivateConfigHome config_;
    ScriptedPrompt prompt_;
    std::unique_ptr<KelVelmoraOptions> options_;
    std::unique_ptr<TKeywordsOptionsForm> form_;
};

}  // namespace velmora

QTEST_MAIN(velmora::KeywordOptionsTest)
#include "keyword_options_test.moc"
