#include "ui/change_keywords_form.h"

#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <string>
#include <utility>
#include <vector>

#include "analysis/keyword_choice.h"
#include "scripted_prompt.h"
#include "ui/progress_message_form.h"

namespace velmora {
namespace {

// A word list holding each (text, count) pair as that many occurrences.
WordList MakeWords(const std::vector<std::pair<std::string, int>>& forms,
                   TextRules rules = TextRules()) {
    std::vector<std::string> occurrences;
    for (const auto& [text, count] : forms) {
        occurrences.insert(occurrences.end(), static_cast<std::size_t>(count), text);
    }
    return WordList::FromOccurrences(std::move(occurrences), rules);
}

QStringList Texts(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row) {
        texts.append(list.item(row)->text());
    }
    return texts;
}

// A real double-click: a click, then the second press that the system reports as a double-click.
void DoubleClick(QListWidget& list, QListWidgetItem* item) {
    const QPoint at = list.visualItemRect(item).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

QListWidgetItem* Find(const QListWidget& list, const QString& text) {
    const QList<QListWidgetItem*> found = list.findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.front();
}

const QString kReorderText =
    "Keywords will automatically be reordered in the document to reflect the optimal keyword "
    "ordering.";

}  // namespace

class ChangeKeywordsFormTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        prompt_.Clear();
        options_ = KelVelmoraOptions();
    }

    void PrimeFillsLinesWithCountsAndMarks() {
        TChangeKeywords dialog(prompt_, progress_);
        dialog.Prime({"shop", "rare", "SHOP", "fish"}, 100, words_, "Fish shop", options_);

        QCOMPARE(dialog.windowTitle(), QString("Change Keywords"));
        QCOMPARE(Texts(*dialog.KeywordList),
                 (QStringList{"fish {5 times}", "rare {1 times, bad keyword}",
                              "SHOP {4 times, duplicate keyword}", "shop {4 times}"}));
        // The good candidate already among the keywords stays out of the left list.
        QCOMPARE(Texts(*dialog.CandidateList),
                 (QStringList{"hosting {2 times}", "tank {3 times}", "web hosting {2 times}",
                              "Web {5 times}"}));
        QCOMPARE(dialog.KeywordList->item(1)->data(Qt::UserRole).toByteArray(),
                 QByteArray("rare {1 times, bad keyword}"));
        QCOMPARE(dialog.CandidateList->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(dialog.KeywordList->selectionMode(), QAbstractItemView::ExtendedSelection);

        // One step per keyword and per occurrence entry; the window is gone afterwards.
        QVERIFY(!progress_.isVisible());
        const int steps = 4 + static_cast<int>(words_.OccurrenceCount());
        QCOMPARE(progress_.ProgressBar->maximum(), steps);
        QCOMPARE(progress_.ProgressBar->value(), steps);
    }

    void ReorderMessageOnlyWhenOrderIsNotOptimal() {
        TChangeKeywords dialog(prompt_, progress_);
        dialog.Prime({"shop"}, 100, words_, "", options_);
        QVERIFY(prompt_.Asked().isEmpty());
        QVERIFY(!dialog.HaveChanged());

        dialog.Prime({"rare", "shop"}, 100, words_, "", options_);
        QCOMPARE(prompt_.Asked().size(), 1);
        const AskedPrompt& asked = prompt_.Asked().front();
        QCOMPARE(asked.caption, QString("Optimal Keyword Ordering"));
        QCOMPARE(asked.text, kReorderText);
        QCOMPARE(asked.buttons, Prompt::Buttons::Ok);
        QCOMPARE(asked.icon, Prompt::Icon::Information);
        QVERIFY(dialog.HaveChanged());
        QCOMPARE(dialog.GetKeywords(), (KeywordList{"shop", "rare"}));

        // Done without moving anything hands back the keywords as the dialog would order them.
        const KeywordList keywords{"tank", "fish", "Web", "hosting"};
        dialog.Prime(keywords, 100, words_, "tank", options_);
        QCOMPARE(dialog.GetKeywords(),
                 OrderKeywordsAsDialog(keywords, 100, words_, "tank", options_));
    }

    void AddRemoveDoneAndCancel() {
        TChangeKeywords dialog(prompt_, progress_);
        dialog.Prime({"shop"}, 100, words_, "", options_);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // Alt+letter reaches every button, and each list through its label.
        QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.CandidateList));
        QTest::keyClick(&dialog, Qt::Key_K, Qt::AltModifier);
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.KeywordList));
        for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
            QVERIFY2(button->text().contains('&'), qPrintable(button->text()));
        }

        Find(*dialog.CandidateList, "tank {3 times}")->setSelected(true);
        Find(*dialog.CandidateList, "Web {5 times}")->setSelected(true);
        QTest::mouseClick(dialog.AddButton, Qt::LeftButton);
        QVERIFY(dialog.HaveChanged());
        QCOMPARE(Texts(*dialog.KeywordList),
                 (QStringList{"shop {4 times}", "tank {3 times}", "Web {5 times}"}));
        QCOMPARE(Texts(*dialog.CandidateList),
                 (QStringList{"fish {5 times}", "hosting {2 times}", "web hosting {2 times}"}));

        // A double-click moves the line it hits.
        DoubleClick(*dialog.KeywordList, Find(*dialog.KeywordList, "shop {4 times}"));
        QCOMPARE(Texts(*dialog.KeywordList), (QStringList{"tank {3 times}", "Web {5 times}"}));
        QVERIFY(Find(*dialog.CandidateList, "shop {4 times}") != nullptr);
        DoubleClick(*dialog.CandidateList, Find(*dialog.CandidateList, "fish {5 times}"));
        QCOMPARE(Texts(*dialog.KeywordList),
                 (QStringList{"fish {5 times}", "tank {3 times}", "Web {5 times}"}));

        QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.HaveChanged());

        // Esc cancels; the close box and Enter act as Done.
        dialog.Prime({"shop"}, 100, words_, "", options_);
        dialog.show();
        dialog.CandidateList->item(0)->setSelected(true);
        dialog.AddButtonClick();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.HaveChanged());

        dialog.Prime({"shop"}, 100, words_, "", options_);
        dialog.show();
        dialog.CandidateList->item(0)->setSelected(true);
        dialog.AddButtonClick();
        dialog.close();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.HaveChanged());
        QCOMPARE(dialog.GetKeywords().size(), std::size_t{2});

        dialog.Prime({"shop"}, 100, words_, "", options_);
        dialog.show();
        QTest::keyClick(dialog.CandidateList, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.HaveChanged());
    }

    void AutoChoosesTheBestCandidates() {
        options_.MaximumRecommendedTags = 3;
        const KeywordList keywords{"rare", "hosting"};
        TChangeKeywords dialog(prompt_, progress_);
        dialog.Prime(keywords, 100, words_, "Fish tank", options_);
        QTest::mouseClick(dialog.btn_auto, Qt::LeftButton);

        QVERIFY(dialog.HaveChanged());
        QVERIFY(!progress_.isVisible());
        QCOMPARE(dialog.KeywordList->count(), 3);
        QVERIFY(Find(*dialog.CandidateList, "rare {1 times, bad keyword}") != nullptr);
        QVERIFY(dialog.CandidateList->selectedItems().isEmpty());
        QCOMPARE(dialog.GetKeywords(), AutoKeywords(keywords, 100, words_, "Fish tank", options_));
    }

    void AutoKeepsCaseVariantsOnlyWhenCaseCounts() {
        const WordList words = MakeWords({{"Fish", 3}, {"fish", 3}, {"tank", 2}});
        options_.KeywordCase = KeywordCaseMode::CaseSensitive;
        TChangeKeywords dialog(prompt_, progress_);
        dialog.Prime({}, 100, words, "", options_);
        dialog.btn_autoClick();
        QCOMPARE(Texts(*dialog.KeywordList),
                 (QStringList{"Fish {3 times}", "fish {3 times}", "tank {2 times}"}));

        options_.KeywordCase = KeywordCaseMode::CaseInsensitiveMixed;
        dialog.Prime({}, 100, words, "", options_);
        dialog.btn_autoClick();
        QCOMPARE(Texts(*dialog.KeywordList), (QStringList{"Fish {6 times}", "tank {2 times}"}));
    }

    void ListsShowThePageTextDecoded() {
        const WordList utf8 = MakeWords({{"caf\xc3\xa9", 3}}, TextRules(Encoding::Utf8));
        TChangeKeywords dialog(prompt_, progress_);
        dialog.Prime({}, 100, utf8, "", options_);
        QCOMPARE(Texts(*dialog.CandidateList),
                 QStringList{QString::fromUtf8("caf\xc3\xa9 {3 times}")});
        QCOMPARE(dialog.CandidateList->item(0)->data(Qt::UserRole).toByteArray(),
                 QByteArray("caf\xc3\xa9 {3 times}"));

        const WordList ansi = MakeWords({{"caf\xe9", 3}}, TextRules(Encoding::Windows1252));
        dialog.Prime({}, 100, ansi, "", options_);
        QCOMPARE(Texts(*dialog.CandidateList),
                 QStringList{QString::fromUtf8("caf\xc3\xa9 {3 times}")});
        dialog.CandidateList->item(0)->setSelected(true);
        dialog.AddButtonClick();
        QCOMPARE(dialog.GetKeywords(), KeywordList{"caf\xe9"});
    }

    void NothingToShow() {
        TChangeKeywords dialog(prompt_, progress_);
        const WordList empty;
        dialog.Prime({}, 0, empty, "", options_);
        QCOMPARE(dialog.KeywordList->count(), 0);
        QCOMPARE(dialog.CandidateList->count(), 0);
        QCOMPARE(progress_.ProgressBar->maximum(), 0);
        QVERIFY(!progress_.isVisible());
        QVERIFY(prompt_.Asked().isEmpty());
        QVERIFY(!dialog.HaveChanged());
        QVERIFY(dialog.GetKeywords().empty());
    }

    void LayoutKeepsEqualListsAndBottomButtons() {
        TChangeKeywords dialog(prompt_, progress_);
        dialog.Prime({"shop", "rare", "SHOP"}, 100, words_, "", options_);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.width() >= 525 && dialog.height() >= 288);
        QVERIFY(SaveWindowPicture(dialog, "change_keywords_form"));

        for (const QSize size : {QSize(400, 160), QSize(525, 288), QSize(900, 500)}) {
            dialog.resize(size);
            QVERIFY(dialog.width() >= 400 && dialog.height() >= 160);
            const QRect candidates = dialog.CandidateList->geometry();
            const QRect keywords = dialog.KeywordList->geometry();
            const int margin = candidates.left();
            QCOMPARE(candidates.width(), keywords.width());
            QCOMPARE(candidates.height(), keywords.height());
            QVERIFY(dialog.width() - 1 - margin - keywords.right() <= 1);
            QVERIFY(dialog.AddButton->geometry().left() > candidates.right());
            QVERIFY(dialog.AddButton->geometry().right() < keywords.left());
            QCOMPARE(dialog.DoneButton->geometry().right(), candidates.right());
            QCOMPARE(dialog.CancelButton->geometry().left(), keywords.left());
            QCOMPARE(dialog.DoneButton->geometry().bottom(), dialog.height() - 1 - margin);
            QCOMPARE(dialog.CancelButton->geometry().top(), dialog.DoneButton->geometry().top());
            QVERIFY(candidates.bottom() < dialog.DoneButton->geometry().top());
        }
        dialog.resize(400, 160);
        QVERIFY(SaveWindowPicture(dialog, "change_keywords_form_smallest"));
    }

private:
    ScriptedPrompt prompt_;
    TProgressForm progress_;
    KelVelmoraOptions options_;
    const WordList words_ = MakeWords({{"Web", 3},
                                       {"web", 2},
                                       {"shop", 4},
                                       {"rare", 1},
                                       {"hosting", 2},
                                       {"web hosting", 2},
                                       {"fish", 5},
                                       {"tank", 3}});
};

}  // namespace velmora

QTEST_MAIN(velmora::ChangeKeywordsFormTest)
#include "change_keywords_form_test.moc"
