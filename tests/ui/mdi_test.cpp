#include "ui/mdi.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "document/velmora_data.h"
#include "options/kel_registry.h"
#include "scripted_prompt.h"
#include "tests/support/private_config_home.h"
#include "ui/change_keywords_form.h"
#include "ui/edit_text_form.h"
#include "ui/message_box_prompt.h"
#include "ui/progress_message_form.h"
#include "ui/theme.h"

namespace velmora {
namespace {

const QByteArray kPage =
    "<html>\r\n<head>\r\n<title>Frame Page</title>\r\n"
    "<meta name=\"keywords\" content=\"frame,page\">\r\n</head>\r\n<body>\r\n"
    "<p>The frame page   shows a frame and a page.</p>\r\n</body>\r\n</html>\r\n";

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* action : actions) {
        texts.append(action->isSeparator() ? QString("-") : action->text());
    }
    return texts;
}

}  // namespace

class MdiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(config_.IsValid() && pages_.isValid() && temp_.isValid());
        qputenv("TMPDIR", temp_.path().toUtf8());
        qputenv("XDG_STATE_HOME", temp_.path().toUtf8());
    }

    void init() {
        prompt_.Clear();
        page_ = pages_.filePath("frame.htm");
        WriteFile(page_, kPage);
        frame_ = std::make_unique<TMDIForm>();
        progress_ = std::make_unique<TProgressForm>(frame_.get());
        changeKeywords_ = std::make_unique<TChangeKeywords>(prompt_, *progress_, frame_.get());
        editText_ = std::make_unique<TEditText>(frame_.get());
        aboutBox_ = std::make_unique<TAboutBox>(
            prompt_, [](const QUrl&) { return true; }, frame_.get());
        form_ = new TKeywordsForm(
            prompt_, *changeKeywords_, *editText_, *aboutBox_,
            [](QWidget*, const QString&) { return QString(); }, [](const QUrl&) { return true; });
        frame_->Embed(form_);
        QVERIFY(form_->Prime(&document_, &frame_->Control, {"velmora", page_}));
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    }

    void cleanup() {
        aboutBox_.reset();
        editText_.reset();
        changeKeywords_.reset();
        progress_.reset();
        frame_.reset();
    }

    void MenusAndToolBarCarryEveryCommand() {
        const QList<QAction*> menus = frame_->menuBar()->actions();
        QCOMPARE(Texts(menus), QStringList({"&File", "&Edit", "&View", "&Help"}));
        QCOMPARE(Texts(frame_->MenuBar->actions()),
                 QStringList({"&Open", "&Abandon Changes", "&Save", "Save &As...",
                              "Open &Backup Folder", "Open &Recent", "-", "E&xit"}));
        QCOMPARE(Texts(frame_->Options1->actions()),
                 QStringList({"&Options", "&Keywords", "&Compress"}));
        QCOMPARE(Texts(frame_->View1->actions()), QStringList({"&Page Checks…", "Show &All Advice…",
                                                               "View in &Browser", "-", "&Theme"}));
        QCOMPARE(Texts(frame_->Help1->actions()), QStringList({"&About"}));
        QCOMPARE(Child<QAction>("menuPageChecks")->shortcut(), QKeySequence("Ctrl+K"));
        QCOMPARE(Child<QAction>("menuOpen")->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(Child<QAction>("MenuSave")->shortcut(), QKeySequence("Ctrl+S"));
        QCOMPARE(Child<QAction>("menuExit")->shortcut(), QKeySequence("Ctrl+Q"));
        QCOMPARE(Child<QAction>("About1")->shortcut(), QKeySequence("F1"));
        QCOMPARE(Child<QAction>("menuViewInBrowser")->shortcut(), QKeySequence("Ctrl+B"));
        QVERIFY(!Child<QAction>("menuOpenBackupFolder")->isEnabled());
        QCOMPARE(Child<QAction>("mnuShrink")->statusTip(),
                 QString("Remove unnecessary white space."));

        QCOMPARE(Texts(frame_->ToolBar->actions()),
                 QStringList({"Open", "Save", "Discard", "-", "View", "Compress"}));
        const QStringList hints = {"Open a new file",
                                   "Save changes made to the file.",
                                   "Abandon any changes made.",
                                   "",
                                   "View the file in the browser window.",
                                   "Compress file - removes whitespace"};
        for (int i = 0; i < hints.size(); ++i) {
            const QAction* action = frame_->ToolBar->actions().at(i);
            if (!action->isSeparator()) {
                QCOMPARE(action->toolTip(), hints.at(i));
                QCOMPARE(action->statusTip(), hints.at(i));
            }
        }
        QCOMPARE(frame_->windowTitle(), QString("Velmora"));
        QCOMPARE(frame_->focusWidget(), Child<QPushButton>("btn_browse"));
        QVERIFY(SaveWindowPicture(*frame_, "mdi_frame"));

        // Save and Discard follow the page's state.
        QVERIFY(!Child<QAction>("ToolButtonSave")->isEnabled());
        EditTitle("Frame edited");
        QVERIFY(Child<QAction>("ToolButtonSave")->isEnabled() &&
                Child<QAction>("ToolButtonDiscard")->isEnabled());
        QVERIFY(SaveWindowPicture(*frame_, "mdi_frame_modified"));
        // The edit dialog hands the activation back asynchronously; shortcuts need it.
        frame_->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(frame_.get()));
        QTest::keyClick(frame_.get(), Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY(!Child<QAction>("MenuSave")->isEnabled());
        QVERIFY(FileBytes(page_).contains("Frame edited"));
        QVERIFY(frame_->statusBar()->toolTip().contains(
            QString::fromStdString(document_.LastBackupPath())));
        QVERIFY(frame_->statusBar()->currentMessage().endsWith(".htm"));
        // The backup stays in its own selectable field when passing messages come and go.
        auto* backup = FindChild<QLineEdit>(*frame_, "BackupPath");
        QCOMPARE(backup->text(), "Backup: " + QString::fromStdString(document_.LastBackupPath()));
        frame_->statusBar()->showMessage("A menu hint");
        QVERIFY(backup->isVisible() && backup->isReadOnly());
        QVERIFY(Child<QAction>("menuOpenBackupFolder")->isEnabled());
        QVERIFY(SaveWindowPicture(*frame_, "mdi_frame_saved"));
    }

    void HeightIsFixedAndWidthIsFree() {
        const int height = frame_->height();
        QCOMPARE(frame_->minimumHeight(), height);
        QCOMPARE(frame_->maximumHeight(), height);
        QVERIFY(frame_->minimumWidth() >= 528);
        QCOMPARE(form_->height(), form_->PreferredHeight());

        frame_->resize(900, height + 120);
        QTRY_COMPARE(frame_->width(), 900);
        QCOMPARE(frame_->height(), height);
        // The boxes and the advice list take the width; the button column stays at the right.
        QVERIFY(Child<QLineEdit>("FileName")->width() > 500);
        QCOMPARE(Child<QLineEdit>("FileTitle")->width(), Child<QLineEdit>("FileName")->width());
        QCOMPARE(Child<QPushButton>("btn_browse")->mapTo(form_, QPoint()).x(),
                 Child<QPushButton>("KeywordsButton")->mapTo(form_, QPoint()).x());
        QCOMPARE(Child<QListWidget>("AdviceBox")
                     ->mapTo(form_, QPoint(Child<QListWidget>("AdviceBox")->width(), 0))
                     .x(),
                 Child<QPushButton>("KeywordsButton")
                     ->mapTo(form_, QPoint(Child<QPushButton>("KeywordsButton")->width(), 0))
                     .x());
        QVERIFY(SaveWindowPicture(*frame_, "mdi_frame_wide"));

        frame_->resize(300, height);
        QTRY_COMPARE(frame_->width(), frame_->minimumWidth());
        // Nothing is squeezed below what it needs.
        for (QWidget* widget : form_->findChildren<QWidget*>()) {
            if (widget->isVisible() &&
                widget->parentWidget() == Child<QGroupBox>("FileInformationBox")) {
                QVERIFY2(widget->width() >= widget->minimumSizeHint().width() ||
                             widget->minimumSizeHint().width() <= 0,
                         qPrintable(widget->metaObject()->className()));
            }
        }
        QVERIFY(SaveWindowPicture(*frame_, "mdi_frame_narrow"));
    }

    void SevenHundredPixelsWithALargeFontCutsNoRow() {
        const QFont usual = QApplication::font();
        QFont large = usual;
        large.setPointSize(14);
        QApplication::setFont(large);
        cleanup();
        init();
        frame_->resize(700, frame_->height());
        QTRY_COMPARE(frame_->width(), 700);
        auto* advice = Child<QListWidget>("AdviceBox");
        QVERIFY(advice->count() >= 2);
        // Whole rows only: the list holds three of them exactly, the description two lines.
        QCOMPARE(advice->height(), 3 * advice->sizeHintForRow(0) + 2 * advice->frameWidth());
        auto* description = Child<QPlainTextEdit>("Description");
        QVERIFY(description->height() >= 2 * description->fontMetrics().lineSpacing());
        for (QWidget* widget : form_->findChildren<QWidget*>()) {
            if (widget->isVisible()) {
                QVERIFY2(widget->width() >= widget->minimumSizeHint().width() ||
                             widget->minimumSizeHint().width() <= 0,
                         qPrintable(widget->objectName()));
            }
        }
        QVERIFY(SaveWindowPicture(*frame_, "mdi_frame_700px_14pt"));
        Child<QAction>("menuPageChecks")->trigger();
        auto* checks = form_->findChild<QWidget*>("PageChecksWindow");
        QVERIFY(checks != nullptr);
        checks->resize(700, checks->height());
        QVERIFY(SaveWindowPicture(*checks, "page_checks_700px_14pt"));
        // Every window opens inside the available screen area.
        const QRect area = checks->screen()->availableGeometry();
        QVERIFY2(checks->width() <= area.width() && checks->height() <= area.height(),
                 qPrintable(QString("%1x%2").arg(checks->width()).arg(checks->height())));
        checks->close();
        QApplication::setFont(usual);
    }

    void SizeAndPositionAreRestoredAfterAClose() {
        const QRect first = frame_->geometry();
        const QRect moved(QPoint(40, 30), QSize(700, first.height()));
        frame_->setGeometry(moved);
        QTRY_COMPARE(frame_->geometry(), moved);
        // Neither a refused close nor the end of a window that was not closed stores anything.
        EditTitle("Unsaved title");
        prompt_.Answer(Prompt::Answer::Cancel);
        QVERIFY(!frame_->close());
        cleanup();
        init();
        QCOMPARE(frame_->geometry(), first);

        frame_->setGeometry(moved);
        QTRY_COMPARE(frame_->geometry(), moved);
        QVERIFY(frame_->close());
        cleanup();
        init();
        QCOMPARE(frame_->geometry(), moved);
        QCOMPARE(frame_->minimumHeight(), moved.height());
        TKelRegistry(kVelmoraSettingsPath).DeleteValue("Window", "Geometry");
    }

    void ThemeMenuSwitchesAndKeepsTheChoice() {
        auto* menu = FindChild<QMenu>(*frame_, "ThemeMenu");
        QCOMPARE(Texts(menu->actions()), QStringList({"&System", "&Light", "&Dark"}));
        QVERIFY(menu->actions().at(0)->isChecked());
        menu->actions().at(2)->trigger();
        QCOMPARE(LoadTheme(), Theme::Dark);
        QCOMPARE(QApplication::style()->name().toLower(), QString("fusion"));
        QCOMPARE(QApplication::palette().color(QPalette::Window),
                 DarkPalette().color(QPalette::Window));
        QCoreApplication::processEvents();
        QCOMPARE(frame_->palette().color(QPalette::Window), DarkPalette().color(QPalette::Window));
        QVERIFY(SaveWindowPicture(*frame_, "mdi_frame_theme_dark"));
        menu->actions().at(1)->trigger();
        QCOMPARE(LoadTheme(), Theme::Light);
        QVERIFY(QApplication::palette().color(QPalette::Window).lightness() > 128);
        menu->actions().at(0)->trigger();
        QCOMPARE(LoadTheme(), Theme::System);
    }

    void CloseQueryDecidesWhetherTheFrameCloses() {
        EditTitle("Unsaved title");

        prompt_.Answer(Prompt::Answer::Cancel);
        QVERIFY(!frame_->close());
        QVERIFY(frame_->isVisible());
        QCOMPARE(prompt_.Asked().size(), 1);
        QCOMPARE(prompt_.Asked().front().caption, QString("Save changes?"));

        prompt_.Answer(Prompt::Answer::No);
        QVERIFY(frame_->close());
        QCOMPARE(FileBytes(page_), kPage);

        cleanup();
        init();
        EditTitle("Saved on close");
        prompt_.Answer(Prompt::Answer::Yes);
        Child<QAction>("menuExit")->trigger();
        QVERIFY(!frame_->isVisible());
        QVERIFY(FileBytes(page_).contains("<title>Saved on close</title>"));

        // Unmodified: closes without a question.
        cleanup();
        init();
        QVERIFY(frame_->close());
        QVERIFY(prompt_.Asked().isEmpty());
    }

    void FailedSaveAfterYesRefusesTheClose() {
        const QString folder = pages_.filePath("vanishing");
        QVERIFY(QDir().mkpath(folder));
        const QString page = folder + "/page.htm";
        WriteFile(page, kPage);
        QVERIFY(form_->OpenHtmlFile(page));
        EditTitle("Cannot be saved");
        QVERIFY(QDir(folder).removeRecursively());

        prompt_.Answer(Prompt::Answer::Yes);
        QVERIFY(!frame_->close());
        QVERIFY(frame_->isVisible());
        QCOMPARE(prompt_.Asked().size(), 2);
        QCOMPARE(prompt_.Asked().back().icon, Prompt::Icon::Critical);
        QVERIFY(prompt_.Asked().back().text.contains(page));
        QVERIFY(Child<QAction>("MenuSave")->isEnabled());
    }

    void DroppedPageOpensWithTheSavePrompt() {
        const QString other = pages_.filePath("dropped.htm");
        QByteArray otherPage = kPage;
        otherPage.replace("Frame Page", "Dropped Page");
        WriteFile(other, otherPage);
        EditTitle("Edited before the drop");

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(other)});
        const QPoint centre = frame_->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame_.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        prompt_.Answer(Prompt::Answer::No);
        QApplication::sendEvent(frame_.get(), &drop);
        QTRY_COMPARE(Child<QLineEdit>("FileTitle")->text(), QString("Dropped Page"));
        QCOMPARE(prompt_.Asked().size(), 1);
        QCOMPARE(prompt_.Asked().front().caption, QString("Save changes?"));

        // A folder is not a page.
        QMimeData folder;
        folder.setUrls({QUrl::fromLocalFile(pages_.path())});
        QDragEnterEvent refused(centre, Qt::CopyAction, &folder, Qt::LeftButton, Qt::NoModifier);
        refused.setAccepted(false);
        QApplication::sendEvent(frame_.get(), &refused);
        QVERIFY(!refused.isAccepted());
    }

    void MessageBoxPromptAnswersAsTheButtonsSay() {
        MessageBoxPrompt prompt;
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            QCOMPARE(box->windowTitle(), QString("Save changes?"));
            QCOMPARE(box->text(), QString("The file has been modified. Save changes?"));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->standardButtons(),
                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            QVERIFY(SaveWindowPicture(*box, "message_box_save_changes"));
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(
            prompt.Ask(frame_.get(), "Save changes?", "The file has been modified. Save changes?",
                       Prompt::Buttons::YesNoCancel, Prompt::Icon::None),
            Prompt::Answer::Cancel);

        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            QCOMPARE(box->icon(), QMessageBox::Question);
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            box->close();
        });
        QCOMPARE(prompt.Ask(frame_.get(), "Confirm compress?", "Continue?", Prompt::Buttons::YesNo,
                            Prompt::Icon::Question),
                 Prompt::Answer::No);

        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            QCOMPARE(box->icon(), QMessageBox::Critical);
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(prompt.Ask(frame_.get(), "Velmora", "Cannot read", Prompt::Buttons::Ok,
                            Prompt::Icon::Critical),
                 Prompt::Answer::Ok);
    }

private:
    template <typename T>
    T* Child(const char* name) const {
        return FindChild<T>(*form_, name);
    }

    void EditTitle(const QString& title) {
        AnswerWhenShown(*editText_, [this, title] {
            editText_->EditWindow->setPlainText(title);
            editText_->SaveButton->click();
        });
        Child<QPushButton>("EditTitleButton")->click();
    }

    test::PrivateConfigHome config_;
    QTemporaryDir pages_;
    QTemporaryDir temp_;
    ScriptedPrompt prompt_;
    QString page_;
    KelVelmoraData document_;
    std::unique_ptr<TMDIForm> frame_;
    std::unique_ptr<TProgressForm> progress_;
    std::unique_ptr<TChangeKeywords> changeKeywords_;
    std::unique_ptr<TEditText> editText_;
    std::unique_ptr<TAboutBox> aboutBox_;
    TKeywordsForm* form_ = nullptr;
};

}  // namespace velmora

QTEST_MAIN(velmora::MdiTest)
#include "mdi_test.moc"
