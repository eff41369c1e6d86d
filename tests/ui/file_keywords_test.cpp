#include "ui/file_keywords.h"

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "analysis/keyword_choice.h"
#include "core/html_functions_read.h"
#include "document/velmora_data.h"
#include "options/page_check_settings.h"
#include "scripted_prompt.h"
#include "tests/support/private_config_home.h"
#include "ui/advice_dialog.h"
#include "ui/change_keywords_form.h"
#include "ui/check_presentation.h"
#include "ui/edit_text_form.h"
#include "ui/keyword_options.h"
#include "ui/page_check_options_page.h"
#include "ui/page_checks_window.h"
#include "ui/progress_message_form.h"
#include "ui/recent_files.h"
#include "ui/search_preview.h"
#include "ui/state_mark.h"
#include "ui/width_meter.h"

namespace velmora {
namespace {

class RecordingControl : public TKeywordsControl {
public:
    void RequestExit() override {}
    void ShowStatus(const QString& message) override { statuses.append(message); }
    void ShowBackup(const QString& path) override { backups.append(path); }

    QStringList statuses;
    QStringList backups;
};

const QByteArray kPage =
    "<html>\r\n<head>\r\n<title>Sourdough Bread</title>\r\n"
    "<meta name=\"description\" content=\"Fresh sourdough bread\">\r\n"
    "<meta name=\"keywords\" content=\"bread,sourdough\">\r\n</head>\r\n<body>\r\n"
    "<p>Sourdough   bread    and   sourdough bread, fresh bread and bakery bread.</p>\r\n"
    "<p>The bakery bakes bread. Bakery bread is   sourdough bread and fresh bread.</p>\r\n"
    "</body>\r\n</html>\r\n";

// A Windows-1252 page: its title holds an e with an acute accent as one byte.
const QByteArray kLatinPage =
    "<html>\r\n<head>\r\n<title>Caf\xe9 Bread</title>\r\n</head>\r\n<body>\r\n"
    "<p>Caf\xe9 bread and more bread.</p>\r\n</body>\r\n</html>\r\n";

}  // namespace

class FileKeywordsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(config_.IsValid() && pages_.isValid() && temp_.isValid());
        qputenv("TMPDIR", temp_.path().toUtf8());
        qputenv("XDG_STATE_HOME", temp_.path().toUtf8());
    }

    void init() {
        prompt_.Clear();
        opened_.clear();
        dialogAnswer_.clear();
        page_ = pages_.filePath("bread.htm");
        WriteFile(page_, kPage);
        progress_ = std::make_unique<TProgressForm>();
        changeKeywords_ = std::make_unique<TChangeKeywords>(prompt_, *progress_);
        editText_ = std::make_unique<TEditText>();
        aboutBox_ = std::make_unique<TAboutBox>(prompt_, [](const QUrl&) { return true; });
        form_ = std::make_unique<TKeywordsForm>(
            prompt_, *changeKeywords_, *editText_, *aboutBox_,
            [this](QWidget*, const QString&) { return dialogAnswer_; },
            [this](const QUrl& url) {
                opened_.append(url);
                return urlOpens_;
            });
        form_->Options.CompressionEnabled = true;
        form_->Options.WarnBeforeCompressing = true;
        QVERIFY(form_->Prime(&document_, nullptr, {"velmora", page_}));
        form_->resize(560, form_->PreferredHeight());
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

    void cleanup() { form_.reset(); }

    void ShowsTheAnalysisOfTheOpenedPage() {
        QCOMPARE(Child<QLineEdit>("FileName")->text(), page_);
        QCOMPARE(Child<QLineEdit>("FileTitle")->text(), QString("Sourdough Bread"));
        QCOMPARE(Child<QPlainTextEdit>("Description")->toPlainText(),
                 QString("Fresh sourdough bread"));
        QCOMPARE(Child<QLineEdit>("Keywords")->text(), QString("bread,sourdough"));
        QCOMPARE(Child<QLineEdit>("KeywordGoodCount")->text(),
                 QString::number(document_.GetGoodKeywordCount()));
        QCOMPARE(Child<QLineEdit>("Rating")->text(),
                 QString::fromStdString(document_.GetRatingText()));

        QStringList advice;
        for (const std::string& line : document_.GetAdvice()) {
            advice.append(QString::fromStdString(line));
        }
        QVERIFY(!advice.isEmpty());
        QCOMPARE(Child<QListWidget>("AdviceBox")->count(), advice.size());
        QCOMPARE(Child<QListWidget>("AdviceBox")->toolTip(), advice.join('\n'));

        VerifyModified(false);
        QVERIFY(Child<QAction>("mnuShrink")->isEnabled());
        QVERIFY(Child<QAction>("ToolButtonCompress")->isEnabled());
        for (QWidget* display : std::initializer_list<QWidget*>{
                 Child<QLineEdit>("FileName"), Child<QLineEdit>("Rating"),
                 Child<QLineEdit>("FileTitle"), Child<QPlainTextEdit>("Description"),
                 Child<QLineEdit>("Keywords"), Child<QLineEdit>("KeywordGoodCount"),
                 Child<QLineEdit>("KeywordBadCount"), Child<QListWidget>("AdviceBox")}) {
            QVERIFY(!(display->focusPolicy() & Qt::TabFocus));
        }
        QVERIFY(form_->PreferredHeight() > 0);
        QVERIFY(SaveWindowPicture(*form_, "file_keywords_form"));
    }

    void DisplaysFollowALightOrDarkTheme() {
        const QPalette light = QApplication::palette();
        const QPalette dark = DarkPalette();
        QApplication::setPalette(dark);
        QCoreApplication::processEvents();
        for (QWidget* display : std::initializer_list<QWidget*>{
                 Child<QLineEdit>("FileTitle"), Child<QLineEdit>("Rating"),
                 Child<QPlainTextEdit>("Description"), Child<QListWidget>("AdviceBox")}) {
            QCOMPARE(display->palette().color(QPalette::Base), dark.color(QPalette::Window));
            QCOMPARE(display->palette().color(QPalette::Text), dark.color(QPalette::WindowText));
        }
        QVERIFY(SaveWindowPicture(*form_, "file_keywords_form_dark"));
        QApplication::setPalette(light);
        QCoreApplication::processEvents();
        QCOMPARE(Child<QLineEdit>("FileTitle")->palette().color(QPalette::Text),
                 light.color(QPalette::WindowText));
    }

    void PageChecksWindowFollowsThePageAndItsEdits() {
        Child<QAction>("menuPageChecks")->trigger();
        TPageChecksWindow* window = form_->findChild<TPageChecksWindow*>();
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QCOMPARE(window->Preview->TitleLine->text(), QString("Sourdough Bread"));
        QCOMPARE(window->Preview->AddressLine->text(), QString("… › bread.htm"));
        QVERIFY(window->Summary->text().contains(" to improve · "));

        // While typing, the dialog's preview and the window's follow each key, and the window's
        // checks follow once typing pauses; Cancel takes the window back to the page.
        AnswerWhenShown(*editText_, [this, window] {
            QVERIFY(editText_->Preview->isVisible());
            QTest::keyClicks(editText_->EditWindow, " Loaf");
            QCOMPARE(editText_->Preview->TitleLine->text(), QString("Sourdough Bread Loaf"));
            QCOMPARE(window->Preview->TitleLine->text(), QString("Sourdough Bread Loaf"));
            QTRY_COMPARE(window->Report().title.value_or(""), "Sourdough Bread Loaf");
            QVERIFY(SaveWindowPicture(*editText_, "file_keywords_edit_title_typing"));
            editText_->CancelButton->click();
        });
        Child<QPushButton>("EditTitleButton")->click();
        QCOMPARE(window->Preview->TitleLine->text(), QString("Sourdough Bread"));
        QCOMPARE(window->Report().title.value_or(""), "Sourdough Bread");
        VerifyModified(false);

        // The title check's counter runs in the dialog and in the window alike.
        AnswerWhenShown(*editText_, [this] {
            QVERIFY(editText_->LengthCounter->isVisible());
            QVERIFY(editText_->LengthCounter->text().startsWith("15 / 30–60 characters · "));
            editText_->EditWindow->setPlainText("Fresh Sourdough Bread from the Old Town Bakery");
            editText_->SaveButton->click();
        });
        Child<QPushButton>("EditTitleButton")->click();
        QCOMPARE(window->Preview->TitleLine->text(),
                 QString("Fresh Sourdough Bread from the Old Town Bakery"));

        // One window per program: asking again brings the same one back.
        window->close();
        const QString other = pages_.filePath("other.htm");
        WriteFile(other, "<html><head><title>Rye</title></head><body></body></html>");
        prompt_.Answer(Prompt::Answer::No);
        form_->OpenDroppedFile(other);
        QVERIFY(!window->isVisible());
        Child<QAction>("menuPageChecks")->trigger();
        QCOMPARE(form_->findChild<TPageChecksWindow*>(), window);
        QCOMPARE(window->Preview->TitleLine->text(), QString("Rye"));
        QVERIFY(SaveWindowPicture(*window, "file_keywords_page_checks"));
    }

    void VerdictLineLeadsWithTheScoreAndOpensPageChecks() {
        auto* verdict = Child<QPushButton>("VerdictLine");
        const page_checks::PageCheckReport report = page_checks::RunPageChecks(
            document_.GetHtml(), page_.toStdString(), PageCheckOptions(), SharedWidthMeter());
        QVERIFY(report.Score().has_value());
        QCOMPARE(verdict->text(), QString("Page score %1 · %2 problem%3 · %4 to improve")
                                      .arg(*report.Score())
                                      .arg(report.summary.problem)
                                      .arg(report.summary.problem == 1 ? "" : "s")
                                      .arg(report.summary.improve));
        QCOMPARE(verdict->palette().color(QPalette::ButtonText),
                 StateColour(report.summary.problem > 0 ? page_checks::CheckState::Problem
                                                        : page_checks::CheckState::Improve,
                             verdict->palette()));
        QVERIFY(Child<QLineEdit>("Rating")->toolTip().startsWith("Keyword rating: "));
        verdict->setFocus();
        QTest::keyClick(verdict, Qt::Key_Return);
        auto* window = form_->findChild<TPageChecksWindow*>();
        QVERIFY(window != nullptr && window->isVisible());
        QCOMPARE(window->Summary->text(), SummaryText(report.summary));
        window->close();

        const struct {
            QByteArray head;
            QString verdict;
        } unscored[] = {
            {"<meta name=\"robots\" content=\"noindex\">", "No score · not indexed"},
            {"<meta http-equiv=\"refresh\" content=\"0; url=/new.htm\">",
             "No score · redirect to /new.htm"},
        };
        for (const auto& page : unscored) {
            QByteArray bytes = kPage;
            bytes.replace("</head>", page.head + "</head>");
            WriteFile(page_, bytes);
            QVERIFY(form_->OpenHtmlFile(page_));
            QCOMPARE(verdict->text(), page.verdict);
        }
        QVERIFY(SaveWindowPicture(*form_, "file_keywords_verdict_redirect"));
    }

    void ScreenReadersHearTheLabelsAndTheEditButtonsSayWhatTheyEdit() {
        QCOMPARE(Child<QLineEdit>("FileName")->accessibleName(), QString("Source File"));
        QCOMPARE(Child<QLineEdit>("Rating")->accessibleName(), QString("Page Rating"));
        QCOMPARE(Child<QListWidget>("AdviceBox")->accessibleName(), QString("Advice"));
        QCOMPARE(Child<QPlainTextEdit>("Description")->accessibleName(), QString("Description"));
        QCOMPARE(Child<QLineEdit>("KeywordBadCount")->accessibleName(), QString("Bad Keywords"));
        QCOMPARE(Child<QLabel>("Label6")->buddy(), Child<QLineEdit>("FileTitle"));
        QCOMPARE(Child<QPushButton>("EditTitleButton")->text(), QString("Ed&it"));
        // Every button and every label of a display has an Alt-letter key, each its own, and none
        // taken by the menu bar's File, Edit, View and Help.
        QSet<QChar> letters = {'f', 'e', 'v', 'h'};
        QStringList texts;
        for (const char* box : {"SourceBox", "FileInformationBox"}) {
            for (const QPushButton* button : Child<QGroupBox>(box)->findChildren<QPushButton*>()) {
                if (button->objectName() != "VerdictLine") {
                    texts.append(button->text());
                }
            }
            for (const QLabel* label : Child<QGroupBox>(box)->findChildren<QLabel*>()) {
                texts.append(label->text());
            }
        }
        QCOMPARE(texts.size(), 12);
        for (const QString& text : texts) {
            const qsizetype mark = text.indexOf('&');
            QVERIFY2(mark >= 0 && mark + 1 < text.size(), qPrintable(text));
            const QChar letter = text.at(mark + 1).toLower();
            QVERIFY2(!letters.contains(letter), qPrintable(text));
            letters.insert(letter);
        }
        QCOMPARE(Child<QPushButton>("EditTitleButton")->accessibleName(), QString("Edit title"));
        QCOMPARE(Child<QPushButton>("EditDescriptionButton")->accessibleName(),
                 QString("Edit description"));
    }

    void ShowAllAdviceListsEveryLineWhole() {
        QTimer::singleShot(0, [this] {
            auto* shown = qobject_cast<TAdviceDialog*>(QApplication::activeModalWidget());
            QVERIFY(shown != nullptr);
            TAdviceDialog& dialog = *shown;
            QCOMPARE(dialog.Lines->count(), Child<QListWidget>("AdviceBox")->count());
            for (int row = 0; row < dialog.Lines->count(); ++row) {
                QCOMPARE(dialog.Lines->item(row)->text(),
                         Child<QListWidget>("AdviceBox")->item(row)->text());
            }
            QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.Lines));
            QTest::keyClick(dialog.Lines, Qt::Key_End);
            QCOMPARE(dialog.Lines->currentRow(), dialog.Lines->count() - 1);
            QVERIFY(SaveWindowPicture(dialog, "file_keywords_all_advice"));
            dialog.CloseButton->click();
        });
        Child<QAction>("menuShowAdvice")->trigger();
        QVERIFY(form_->findChild<TAdviceDialog*>() != nullptr);
        QVERIFY(!form_->findChild<TAdviceDialog*>()->isVisible());
    }

    void RecentFilesKeepTheLastEightPagesAndDropMissingOnes() {
        QStringList eleven;
        for (int i = 0; i < 11; ++i) {
            eleven.append(QString("/pages/%1.htm").arg(i));
        }
        QStringList list;
        for (const QString& file : eleven) {
            list = WithRecentFile(list, file);
        }
        QCOMPARE(list.size(), 8);
        QCOMPARE(list.front(), QString("/pages/10.htm"));
        QCOMPARE(WithRecentFile(list, "/pages/5.htm").mid(0, 2),
                 QStringList({"/pages/5.htm", "/pages/10.htm"}));

        const QString other = pages_.filePath("rye & spelt.htm");
        WriteFile(other, kPage);
        form_->OpenDroppedFile(other);
        QCOMPARE(TRecentFiles::Load().mid(0, 2), QStringList({other, page_}));
        emit form_->RecentMenu()->aboutToShow();
        const QList<QAction*> entries = form_->RecentMenu()->actions();
        QVERIFY(entries.size() >= 2);
        QCOMPARE(entries.at(0)->text(), QString("&1 rye && spelt.htm"));
        QCOMPARE(entries.at(0)->toolTip(), other);
        QCOMPARE(entries.at(1)->text(), QString("&2 bread.htm"));

        entries.at(1)->trigger();
        QCOMPARE(Child<QLineEdit>("FileName")->text(), page_);

        QVERIFY(QFile::remove(other));
        prompt_.Clear();
        form_->OpenRecentFile(other);
        QCOMPARE(prompt_.Asked().size(), 1);
        QCOMPARE(prompt_.Asked().front().text,
                 QString("Cannot open '%1': No such file or directory\n"
                         "It has been taken off the recent files.")
                     .arg(other));
        QVERIFY(!TRecentFiles::Load().contains(other));
        QCOMPARE(Child<QLineEdit>("FileName")->text(), page_);
    }

    void EditsTitleAndDescriptionThroughTheEditDialog() {
        AnswerWhenShown(*editText_, [this] {
            QVERIFY(editText_->isVisible());
            QCOMPARE(editText_->windowTitle(), QString("Title"));
            QCOMPARE(editText_->EditWindow->toPlainText(), QString("Sourdough Bread"));
            QVERIFY(SaveWindowPicture(*editText_, "file_keywords_edit_title"));
            editText_->SaveButton->click();
        });
        Child<QPushButton>("EditTitleButton")->click();
        VerifyModified(false);

        AnswerWhenShown(*editText_, [this] {
            editText_->EditWindow->setPlainText("Never saved");
            editText_->CancelButton->click();
        });
        Child<QPushButton>("EditTitleButton")->click();
        VerifyModified(false);
        QCOMPARE(Child<QLineEdit>("FileTitle")->text(), QString("Sourdough Bread"));

        AnswerWhenShown(*editText_, [this] {
            editText_->EditWindow->setPlainText("Bread & Sourdough");
            editText_->SaveButton->click();
        });
        Child<QPushButton>("EditTitleButton")->click();
        QVERIFY(document_.GetHtml().find("<title>Bread &amp; Sourdough</title>") !=
                std::string::npos);
        QCOMPARE(Child<QLineEdit>("FileTitle")->text(), QString("Bread & Sourdough"));
        VerifyModified(true);

        AnswerWhenShown(*editText_, [this] {
            QCOMPARE(editText_->windowTitle(), QString("Description"));
            editText_->EditWindow->setPlainText("Bread baked every morning");
            QVERIFY(SaveWindowPicture(*editText_, "file_keywords_edit_description"));
            editText_->SaveButton->click();
        });
        Child<QPushButton>("EditDescriptionButton")->click();
        QCOMPARE(QString::fromStdString(GetDescription(document_.GetHtml())),
                 QString("Bread baked every morning"));
        QCOMPARE(Child<QPlainTextEdit>("Description")->toPlainText(),
                 QString("Bread baked every morning"));
    }

    void TypedTextTakesThePageEncoding() {
        const QString latin = pages_.filePath("cafe.htm");
        WriteFile(latin, kLatinPage);
        QVERIFY(form_->OpenHtmlFile(latin));
        QCOMPARE(Child<QLineEdit>("FileTitle")->text(), QString::fromUtf8("Café Bread"));
        AnswerWhenShown(*editText_, [this] {
            QCOMPARE(editText_->EditWindow->toPlainText(), QString::fromUtf8("Café Bread"));
            editText_->EditWindow->setPlainText(QString::fromUtf8("Café Crème"));
            editText_->SaveButton->click();
        });
        Child<QPushButton>("EditTitleButton")->click();
        QVERIFY(document_.GetHtml().find("<title>Caf\xe9 Cr\xe8me</title>") != std::string::npos);
        QCOMPARE(Child<QLineEdit>("FileTitle")->text(), QString::fromUtf8("Café Crème"));

        // An ASCII page gets character references, which no charset misreads.
        QVERIFY(form_->OpenHtmlFile(page_));
        AnswerWhenShown(*editText_, [this] {
            editText_->EditWindow->setPlainText(QString::fromUtf8("Crème"));
            editText_->SaveButton->click();
        });
        Child<QPushButton>("EditTitleButton")->click();
        QVERIFY(document_.GetHtml().find("<title>Cr&#232;me</title>") != std::string::npos);
    }

    void ChangesKeywordsThroughTheDialog() {
        const std::string before = document_.GetHtml();
        AnswerWhenShown(*changeKeywords_, [this] {
            QVERIFY(changeKeywords_->isVisible());
            changeKeywords_->CandidateList->item(0)->setSelected(true);
            changeKeywords_->AddButton->click();
            changeKeywords_->CancelButton->click();
        });
        Child<QPushButton>("KeywordsButton")->click();
        QCOMPARE(document_.GetHtml(), before);
        VerifyModified(false);

        QString added;
        AnswerWhenShown(*changeKeywords_, [this, &added] {
            QListWidgetItem* candidate = changeKeywords_->CandidateList->item(0);
            added =
                QString::fromUtf8(candidate->data(TChangeKeywords::kKeywordTextRole).toByteArray());
            candidate->setSelected(true);
            changeKeywords_->AddButton->click();
            QVERIFY(SaveWindowPicture(*changeKeywords_, "file_keywords_change_keywords"));
            changeKeywords_->DoneButton->click();
        });
        Child<QAction>("Keywords1")->trigger();
        QVERIFY(!added.isEmpty());
        const QStringList keywords = Child<QLineEdit>("Keywords")->text().split(',');
        QVERIFY2(keywords.contains(added), qPrintable(Child<QLineEdit>("Keywords")->text()));
        QCOMPARE(keywords.size(), 3);
        QCOMPARE(Child<QLineEdit>("Keywords")->text(),
                 QString::fromStdString(GetMetaKeywords(document_.GetHtml())));
        VerifyModified(true);
    }

    void CompressesWithAndWithoutTheWarning() {
        const int spaceBefore = document_.GetSpaceToRemove();
        QVERIFY(spaceBefore > 0);
        const QString good = Child<QLineEdit>("KeywordGoodCount")->text();
        const int adviceBefore = Child<QListWidget>("AdviceBox")->count();

        prompt_.Answer(Prompt::Answer::No);
        Child<QAction>("mnuShrink")->trigger();
        QCOMPARE(prompt_.Asked().size(), 1);
        const AskedPrompt& asked = prompt_.Asked().front();
        QCOMPARE(asked.caption, QString("Confirm compress?"));
        QVERIFY(asked.text.startsWith("If the file contains hand crafted HTML"));
        QVERIFY(asked.text.endsWith("this will not matter. Continue?"));
        QCOMPARE(asked.buttons, Prompt::Buttons::YesNo);
        QCOMPARE(asked.icon, Prompt::Icon::Question);
        QCOMPARE(document_.GetSpaceToRemove(), spaceBefore);
        VerifyModified(false);

        prompt_.Answer(Prompt::Answer::Yes);
        Child<QAction>("ToolButtonCompress")->trigger();
        QCOMPARE(document_.GetSpaceToRemove(), 0);
        QVERIFY(document_.GetHtml().find("   ") == std::string::npos);
        QCOMPARE(Child<QLineEdit>("KeywordGoodCount")->text(), good);
        QCOMPARE(Child<QListWidget>("AdviceBox")->count(), adviceBefore - 1);
        QVERIFY(!Child<QAction>("mnuShrink")->isEnabled());
        QVERIFY(!Child<QAction>("ToolButtonCompress")->isEnabled());
        VerifyModified(true);

        Child<QAction>("MenuAbandon")->trigger();
        prompt_.Clear();
        form_->Options.WarnBeforeCompressing = false;
        form_->CompressButtonClick();
        QVERIFY(prompt_.Asked().isEmpty());
        QCOMPARE(document_.GetSpaceToRemove(), 0);

        Child<QAction>("MenuAbandon")->trigger();
        form_->Options.CompressionEnabled = false;
        form_->DisplayAnalysis();
        QVERIFY(!Child<QAction>("mnuShrink")->isEnabled());
        QVERIFY(!Child<QAction>("ToolButtonCompress")->isEnabled());
    }

    void SavesWithBackupAndGeneratorTag() {
        EditTitle("Saved Title");
        const QStringList backupsBefore = Backups();
        Child<QAction>("MenuSave")->trigger();
        VerifyModified(false);
        QVERIFY(prompt_.Asked().isEmpty());

        const QByteArray saved = FileBytes(page_);
        QVERIFY(saved.contains("<title>Saved Title</title>"));
        QVERIFY(saved.contains("<meta name=\"GENERATOR\" content=\"Velmora\">"));
        QCOMPARE(saved.toStdString(), document_.GetSavedText());

        QStringList added = Backups();
        for (const QString& old : backupsBefore) {
            added.removeAll(old);
        }
        QCOMPARE(added.size(), 1);
        QVERIFY(added.front().startsWith("bread.bkp."));
        QVERIFY(added.front().endsWith(".htm"));
        QCOMPARE(FileBytes(QDir(BackupFolder()).filePath(added.front())), kPage);
    }

    void SaveAsWritesTheNewFileAndFollowsIt() {
        RecordingControl control;
        QVERIFY(form_->Prime(&document_, &control, {"velmora", page_}));
        QCOMPARE(Child<QAction>("MenuSaveAs")->shortcut(), QKeySequence("Ctrl+Shift+S"));
        EditTitle("Copied");
        const QString copy = pages_.filePath("copy.htm");
        form_->AskSaveAsName = [&](QWidget*, const QString& start) {
            return start == page_ ? copy : QString();
        };
        Child<QAction>("MenuSaveAs")->trigger();
        QVERIFY(prompt_.Asked().isEmpty());
        VerifyModified(false);
        QCOMPARE(Child<QLineEdit>("FileName")->text(), copy);
        QVERIFY(FileBytes(copy).contains("<title>Copied</title>"));
        QCOMPARE(FileBytes(page_), kPage);
        QCOMPARE(control.statuses.size(), 1);
        QCOMPARE(control.statuses.front(), "Saved as " + copy);

        // Cancelled: nothing happens.
        EditTitle("Not saved");
        form_->AskSaveAsName = [](QWidget*, const QString&) { return QString(); };
        Child<QAction>("MenuSaveAs")->trigger();
        VerifyModified(true);
        QCOMPARE(control.statuses.size(), 1);
    }

    // The host's status bar tells where the backup went.
    void SaveShowsTheBackupInTheStatusBar() {
        RecordingControl control;
        QVERIFY(form_->Prime(&document_, &control, {"velmora", page_}));
        EditTitle("Status");
        Child<QAction>("MenuSave")->trigger();
        VerifyModified(false);
        QCOMPARE(control.statuses.size(), 1);
        QVERIFY(
            control.statuses.front().contains(QString::fromStdString(document_.LastBackupPath())));
        QCOMPARE(control.backups,
                 QStringList({QString::fromStdString(document_.LastBackupPath())}));

        // Open Backup Folder waits for a backup, then hands its folder to the desktop.
        QVERIFY(Child<QAction>("menuOpenBackupFolder")->isEnabled());
        Child<QAction>("menuOpenBackupFolder")->trigger();
        QCOMPARE(opened_.back(),
                 QUrl::fromLocalFile(QFileInfo(control.backups.front()).absolutePath()));
        QVERIFY(prompt_.Asked().isEmpty());
    }

    void ChangedOnDiskAsksBeforeOverwriting() {
        EditTitle("Mine");
        WriteFile(page_, "<p>changed by another program</p>\r\n");
        prompt_.Answer(Prompt::Answer::No);
        Child<QAction>("MenuSave")->trigger();
        QCOMPARE(prompt_.Asked().size(), 1);
        QCOMPARE(prompt_.Asked().front().text,
                 page_ +
                     " has been changed by another program since it was opened. "
                     "Overwrite it?");
        QCOMPARE(FileBytes(page_), QByteArray("<p>changed by another program</p>\r\n"));
        VerifyModified(true);

        // Closing asks to save; refusing the overwrite keeps the window open.
        prompt_.Clear();
        prompt_.Answer(Prompt::Answer::Yes);
        prompt_.Answer(Prompt::Answer::Cancel);
        QVERIFY(!form_->CanClose());
        QCOMPARE(FileBytes(page_), QByteArray("<p>changed by another program</p>\r\n"));

        prompt_.Clear();
        prompt_.Answer(Prompt::Answer::Yes);
        Child<QAction>("MenuSave")->trigger();
        VerifyModified(false);
        QVERIFY(FileBytes(page_).contains("<title>Mine</title>"));
        QCOMPARE(FileBytes(QString::fromStdString(document_.LastBackupPath())),
                 QByteArray("<p>changed by another program</p>\r\n"));
    }

    // A page whose line breaks cannot all come back is saved only after the user agrees.
    void MixedLineBreaksAskBeforeTheFirstSave() {
        const QByteArray mixed = "<html>\n<head>\r\n<title>Mixed</title>\n</head>\r\n</html>\n";
        WriteFile(page_, mixed);
        QVERIFY(form_->OpenHtmlFile(page_));
        EditTitle("Still mixed");
        prompt_.Answer(Prompt::Answer::No);
        Child<QAction>("MenuSave")->trigger();
        QCOMPARE(prompt_.Asked().size(), 1);
        QCOMPARE(prompt_.Asked().front().text,
                 "Saving will change line breaks outside the head of " + page_ +
                     "; the original is kept in the backup. Save?");
        QCOMPARE(FileBytes(page_), mixed);
        VerifyModified(true);

        prompt_.Clear();
        prompt_.Answer(Prompt::Answer::Yes);
        Child<QAction>("MenuSave")->trigger();
        VerifyModified(false);
        QVERIFY(!FileBytes(page_).contains('\r'));
        QCOMPARE(FileBytes(QString::fromStdString(document_.LastBackupPath())), mixed);

        // Once saved, the page's line breaks are all one kind: no more questions.
        prompt_.Clear();
        EditTitle("Again");
        Child<QAction>("MenuSave")->trigger();
        QVERIFY(prompt_.Asked().isEmpty());
    }

    void AbandonsChanges() {
        EditTitle("Abandoned");
        VerifyModified(true);
        Child<QAction>("ToolButtonDiscard")->trigger();
        QCOMPARE(document_.GetHtml(), document_.GetSavedText());
        QCOMPARE(Child<QLineEdit>("FileTitle")->text(), QString("Sourdough Bread"));
        VerifyModified(false);
        QVERIFY(prompt_.Asked().isEmpty());
    }

    void OpenAsksToSaveFirst() {
        const QString other = pages_.filePath("other.htm");
        WriteFile(other, kLatinPage);
        dialogAnswer_ = other;
        EditTitle("Unsaved");

        Child<QAction>("ToolButtonOpen")->trigger();
        QCOMPARE(prompt_.Asked().size(), 1);
        QCOMPARE(prompt_.Asked().front().caption, QString("Save changes?"));
        QCOMPARE(prompt_.Asked().front().text,
                 QString("The file has been modified. Save changes?"));
        QCOMPARE(prompt_.Asked().front().buttons, Prompt::Buttons::YesNoCancel);
        QCOMPARE(prompt_.Asked().front().icon, Prompt::Icon::None);
        QCOMPARE(Child<QLineEdit>("FileName")->text(), page_);

        prompt_.Answer(Prompt::Answer::No);
        Child<QPushButton>("btn_browse")->click();
        QCOMPARE(Child<QLineEdit>("FileName")->text(), other);
        QCOMPARE(FileBytes(page_), kPage);
        VerifyModified(false);

        // A name that does not exist leaves the window as it was.
        dialogAnswer_ = pages_.filePath("missing.htm");
        Child<QAction>("menuOpen")->trigger();
        QCOMPARE(Child<QLineEdit>("FileName")->text(), other);
    }

    void FailedSaveIsShownAndKeepsThePageModified() {
        const QString folder = pages_.filePath("gone");
        QVERIFY(QDir().mkpath(folder));
        const QString page = folder + "/page.htm";
        WriteFile(page, kPage);
        QVERIFY(form_->OpenHtmlFile(page));
        EditTitle("Lost folder");
        QVERIFY(QDir(folder).removeRecursively());

        form_->SaveButtonClick();
        QCOMPARE(prompt_.Asked().size(), 1);
        QCOMPARE(prompt_.Asked().front().icon, Prompt::Icon::Critical);
        QVERIFY2(prompt_.Asked().front().text.contains(page),
                 qPrintable(prompt_.Asked().front().text));
        VerifyModified(true);

        // After Yes at the save prompt, the failed save answers Cancel.
        prompt_.Clear();
        prompt_.Answer(Prompt::Answer::Yes);
        QCOMPARE(form_->QuerySaveChanges(), Prompt::Answer::Cancel);
        QCOMPARE(prompt_.Asked().size(), 2);
        QCOMPARE(prompt_.Asked().back().icon, Prompt::Icon::Critical);
        QVERIFY(!form_->CanClose());
    }

    // The page-check settings are read once per document: a change in the store behind its
    // back is not seen, and one made in the Options dialog is, at once.
    void PageCheckSettingsAreReadOnceAndFollowTheOptionsDialog() {
        auto* verdict = Child<QPushButton>("VerdictLine");
        const auto verdictWith = [this](const PageCheckOptions& options) {
            const page_checks::PageCheckReport report = page_checks::RunPageChecks(
                document_.GetHtml(), page_.toStdString(), options, SharedWidthMeter());
            return QString("Page score %1 · %2 problem%3 · %4 to improve")
                .arg(report.Score().value_or(-1))
                .arg(report.summary.problem)
                .arg(report.summary.problem == 1 ? "" : "s")
                .arg(report.summary.improve);
        };
        PageCheckOptions elsewhere;
        elsewhere.TitleMinimumCharacters = 10;
        elsewhere.TitleMaximumCharacters = 10;
        PageCheckSettings().Save(elsewhere);
        EditTitle("A title about sourdough bread baked each morning");
        QCOMPARE(verdict->text(), verdictWith(PageCheckOptions()));
        QVERIFY(verdictWith(PageCheckOptions()) != verdictWith(elsewhere));

        auto* options = form_->findChild<TKeywordsOptionsForm*>();
        bool primedFromTheDocument = false;
        AnswerWhenShown(*options, [options, &primedFromTheDocument] {
            QSpinBox* titleMost = options->PageChecksTabSheet->Numbers[1];
            primedFromTheDocument = titleMost->value() == 60;
            titleMost->setValue(10);
            options->CloseButton->click();
        });
        Child<QAction>("menuOptions")->trigger();
        QVERIFY(primedFromTheDocument);
        QCOMPARE(document_.CheckOptions(), elsewhere);
        QCOMPARE(verdict->text(), verdictWith(elsewhere));
        PageCheckSettings().Save(PageCheckOptions());
    }

    void OptionsKeepUnsavedEdits() {
        EditTitle("Kept edit");
        CloseOptionsDialog();
        QVERIFY(document_.GetHtml().find("<title>Kept edit</title>") != std::string::npos);
        QCOMPARE(Child<QLineEdit>("FileTitle")->text(), QString("Kept edit"));
        VerifyModified(true);

        // A page without edits is read again from its file.
        Child<QAction>("MenuAbandon")->trigger();
        QByteArray changed = kPage;
        changed.replace("Sourdough Bread</title>", "Changed on disk</title>");
        WriteFile(page_, changed);
        CloseOptionsDialog();
        QCOMPARE(Child<QLineEdit>("FileTitle")->text(), QString("Changed on disk"));
        VerifyModified(false);

        // A reload that fails keeps the page and reports the file.
        QVERIFY(QFile::remove(page_));
        prompt_.Clear();
        CloseOptionsDialog();
        QCOMPARE(Child<QLineEdit>("FileTitle")->text(), QString("Changed on disk"));
        QCOMPARE(prompt_.Asked().size(), 1);
        QCOMPARE(prompt_.Asked().front().icon, Prompt::Icon::Critical);
        QVERIFY(prompt_.Asked().front().text.contains(page_));
        VerifyModified(false);
    }

    void ViewHandsTheFileUrlOver() {
        Child<QAction>("ToolButtonView")->trigger();
        QCOMPARE(opened_.size(), 1);
        QCOMPARE(opened_.front(), QUrl::fromLocalFile(page_));
        QVERIFY(prompt_.Asked().isEmpty());

        urlOpens_ = false;
        form_->ToolButtonViewClick();
        urlOpens_ = true;
        QCOMPARE(prompt_.Asked().size(), 1);
        QCOMPARE(prompt_.Asked().front().icon, Prompt::Icon::Warning);
        QVERIFY(prompt_.Asked().front().text.contains(page_));
    }

    void AboutShowsTheAboutBox() {
        bool shown = false;
        AnswerWhenShown(*aboutBox_, [this, &shown] {
            shown = aboutBox_->isVisible();
            aboutBox_->accept();
        });
        Child<QAction>("About1")->trigger();
        QVERIFY(shown);
    }

private:
    template <typename T>
    T* Child(const char* name) const {
        return FindChild<T>(*form_, name);
    }

    void VerifyModified(bool modified) {
        QCOMPARE(document_.IsModified(), modified);
        QCOMPARE(Child<QAction>("MenuSave")->isEnabled(), modified);
        QCOMPARE(Child<QAction>("MenuAbandon")->isEnabled(), modified);
        QCOMPARE(Child<QAction>("ToolButtonSave")->isEnabled(), modified);
        QCOMPARE(Child<QAction>("ToolButtonDiscard")->isEnabled(), modified);
    }

    void EditTitle(const QString& title) {
        AnswerWhenShown(*editText_, [this, title] {
            editText_->EditWindow->setPlainText(title);
            editText_->SaveButton->click();
        });
        form_->EditTitleButtonClick();
    }

    void CloseOptionsDialog() {
        bool shown = false;
        AnswerWhenShown(*form_->findChild<TKeywordsOptionsForm*>(), [this, &shown] {
            shown = form_->findChild<TKeywordsOptionsForm*>()->isVisible();
            form_->findChild<TKeywordsOptionsForm*>()->CloseButton->click();
        });
        Child<QAction>("menuOptions")->trigger();
        QVERIFY(shown);
    }

    QString BackupFolder() const { return temp_.filePath(QStringLiteral("velmora/backups")); }
    QStringList Backups() const { return QDir(BackupFolder()).entryList({"*.bkp.*"}, QDir::Files); }

    test::PrivateConfigHome config_;
    QTemporaryDir pages_;
    QTemporaryDir temp_;
    ScriptedPrompt prompt_;
    QList<QUrl> opened_;
    bool urlOpens_ = true;
    QString dialogAnswer_;
    QString page_;
    KelVelmoraData document_;
    std::unique_ptr<TProgressForm> progress_;
    std::unique_ptr<TChangeKeywords> changeKeywords_;
    std::unique_ptr<TEditText> editText_;
    std::unique_ptr<TAboutBox> aboutBox_;
    std::unique_ptr<TKeywordsForm> form_;
};

}  // namespace velmora

QTEST_MAIN(velmora::FileKeywordsTest)
#include "file_keywords_test.moc"
