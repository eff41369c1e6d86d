#include "ui/startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <memory>

#include "document/velmora_data.h"
#include "scripted_prompt.h"
#include "tests/support/private_config_home.h"
#include "ui/about_box.h"
#include "ui/change_keywords_form.h"
#include "ui/edit_text_form.h"
#include "ui/file_keywords.h"
#include "ui/progress_message_form.h"

namespace velmora {
namespace {

const QByteArray kPage =
    "<html><head><title>Start page</title></head><body><p>Start page text</p></body></html>\n";

// The names the open dialog's file list shows.
QStringList ListedNames(const QTreeView& view) {
    QStringList names;
    const QAbstractItemModel* model = view.model();
    for (int row = 0; row < model->rowCount(view.rootIndex()); ++row) {
        names.append(model->index(row, 0, view.rootIndex()).data().toString());
    }
    return names;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(config_.IsValid() && pages_.isValid());
        WriteFile(pages_.filePath("path with blank.htm"), kPage);
        QVERIFY(QDir(pages_.path()).mkdir("sub"));
        WriteFile(pages_.filePath("sub/page.htm"), kPage);
    }

    void init() {
        prompt_.Clear();
        dialogRuns_ = 0;
        dialogAnswer_.clear();
        progress_ = std::make_unique<TProgressForm>();
        changeKeywords_ = std::make_unique<TChangeKeywords>(prompt_, *progress_);
        editText_ = std::make_unique<TEditText>();
        aboutBox_ = std::make_unique<TAboutBox>(prompt_, [](const QUrl&) { return true; });
        form_ = std::make_unique<TKeywordsForm>(
            prompt_, *changeKeywords_, *editText_, *aboutBox_,
            [this](QWidget*, const QString&) {
                ++dialogRuns_;
                return dialogAnswer_;
            },
            [](const QUrl&) { return true; });
        document_ = std::make_unique<KelVelmoraData>();
    }

    void cleanup() {
        form_.reset();
        document_.reset();
    }

    void ArgumentsNameAbsolutePaths() {
        const QString blank = pages_.filePath("path with blank.htm");
        const QString blankUrl =
            "file://" + QString(pages_.path()).replace(" ", "%20") + "/path%20with%20blank.htm";
        QCOMPARE(PagePathFromArgument(blankUrl, "/elsewhere"), blank);
        QCOMPARE(PagePathFromArgument("FILE://" + pages_.path() + "/sub/page.htm", "/x"),
                 pages_.filePath("sub/page.htm"));
        QCOMPARE(PagePathFromArgument("File://localhost/srv/www/a.htm", "/x"),
                 QString("/srv/www/a.htm"));
        QCOMPARE(PagePathFromArgument("sub/page.htm", pages_.path()),
                 pages_.filePath("sub/page.htm"));
        QCOMPARE(PagePathFromArgument("../a%20b.htm", "/srv/www"), QString("/srv/a%20b.htm"));
        QCOMPARE(PagePathFromArgument("", "/srv"), QString());

        QCOMPARE(PageArgument({"velmora"}), QString());
        QCOMPARE(PageArgument({"velmora", "a.htm", "b.htm"}), QString("a.htm"));

        QVERIFY(PageFileExists(blank));
        QVERIFY(!PageFileExists(pages_.filePath("sub")));
        QVERIFY(!PageFileExists(pages_.filePath("missing.htm")));
        QVERIFY(!PageFileExists(QString()));
    }

    void FileUrlArgumentOpensWithoutTheDialog() {
        const QString url = QUrl::fromLocalFile(pages_.filePath("path with blank.htm"))
                                .toString(QUrl::FullyEncoded);
        QVERIFY(url.contains("%20"));
        QVERIFY(form_->Prime(document_.get(), nullptr,
                             {"velmora", url.toUpper().left(7) + url.mid(7)}));
        QCOMPARE(dialogRuns_, 0);
        QCOMPARE(form_->Document, document_.get());
        QCOMPARE(QString::fromStdString(document_->GetFileName()),
                 pages_.filePath("path with blank.htm"));
        QCOMPARE(Child<QLineEdit>("FileTitle")->text(), QString("Start page"));
        QVERIFY(prompt_.Asked().isEmpty());
    }

    void RelativeArgumentIsResolvedAgainstTheWorkingFolder() {
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(pages_.path()));
        const bool opened = form_->Prime(document_.get(), nullptr, {"velmora", "sub/page.htm"});
        QDir::setCurrent(previous);
        QVERIFY(opened);
        QCOMPARE(dialogRuns_, 0);
        QCOMPARE(QString::fromStdString(document_->GetFileName()), pages_.filePath("sub/page.htm"));
    }

    void DirectoryOrMissingPageAsksAndCancelEnds() {
        QVERIFY(!form_->Prime(document_.get(), nullptr, {"velmora", pages_.filePath("sub")}));
        QCOMPARE(dialogRuns_, 1);
        QVERIFY(document_->GetFileName().empty());

        init();
        dialogAnswer_ = pages_.filePath("sub/page.htm");
        QVERIFY(
            form_->Prime(document_.get(), nullptr, {"velmora", pages_.filePath("missing.htm")}));
        QCOMPARE(dialogRuns_, 1);
        QCOMPARE(QString::fromStdString(document_->GetFileName()), dialogAnswer_);

        init();
        QVERIFY(!form_->Prime(document_.get(), nullptr, {"velmora"}));
        QCOMPARE(dialogRuns_, 1);
        QVERIFY(prompt_.Asked().isEmpty());
    }

    void MissingNamedPageIsReportedBeforeTheDialogAsks() {
        const QString missing = pages_.filePath("missing.htm");
        QVERIFY(!form_->Prime(document_.get(), nullptr, {"velmora", missing}));
        QCOMPARE(prompt_.Asked().size(), 1);
        QCOMPARE(prompt_.Asked().front().icon, Prompt::Icon::Critical);
        QCOMPARE(prompt_.Asked().front().text,
                 QString("Cannot open '%1': No such file or directory").arg(missing));
        QCOMPARE(dialogRuns_, 1);

        init();
        QVERIFY(!form_->Prime(document_.get(), nullptr, {"velmora", pages_.filePath("sub")}));
        QCOMPARE(prompt_.Asked().size(), 1);
        QVERIFY(prompt_.Asked().front().text.endsWith(": Is a directory"));
    }

    void UnreadablePageIsReportedThenTheDialogAsks() {
        // A UTF-16 page cannot be read as a page text.
        const QString utf16 = pages_.filePath("utf16.htm");
        WriteFile(utf16, QByteArray("\xff\xfe<\0h\0", 6));
        QVERIFY(!form_->Prime(document_.get(), nullptr, {"velmora", utf16}));
        QCOMPARE(prompt_.Asked().size(), 1);
        QCOMPARE(prompt_.Asked().front().icon, Prompt::Icon::Critical);
        QVERIFY(prompt_.Asked().front().text.contains(utf16));
        QCOMPARE(dialogRuns_, 1);
    }

    void OpenDialogOffersBothFiltersIgnoringCase() {
        WriteFile(pages_.filePath("INDEX.HTM"), kPage);
        WriteFile(pages_.filePath("notes.txt"), "notes");
        WriteFile(pages_.filePath("shop.php"), kPage);
        QString chosen;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QString("Open File to Tune"));
            QCOMPARE(dialog->nameFilters(),
                     QStringList({"HTML files (*.html *.htm)",
                                  "HTML/PHP files (*.html *.htm *.php)", "All files (*)"}));
            QCOMPARE(dialog->selectedNameFilter(), QString("HTML/PHP files (*.html *.htm *.php)"));
            QVERIFY(!dialog->testOption(QFileDialog::ReadOnly));
            QVERIFY(!(dialog->filter() & QDir::CaseSensitive));
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
            auto* view = dialog->findChild<QTreeView*>("treeView");
            QVERIFY(view != nullptr);
            QTRY_VERIFY(ListedNames(*view).contains("INDEX.HTM"));
            QVERIFY(ListedNames(*view).contains("shop.php"));
            QVERIFY(!ListedNames(*view).contains("notes.txt"));
            QVERIFY(SaveWindowPicture(*dialog, "open_file_dialog"));
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name != nullptr);
            name->setText("INDEX.HTM");
            static_cast<QDialog*>(dialog)->accept();
        });
        chosen = RunOpenFileDialog(nullptr, pages_.path());
        QCOMPARE(chosen, pages_.filePath("INDEX.HTM"));

        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QCOMPARE(RunOpenFileDialog(nullptr, pages_.path()), QString());
    }

private:
    template <typename T>
    T* Child(const char* name) const {
        return FindChild<T>(*form_, name);
    }

    test::PrivateConfigHome config_;
    QTemporaryDir pages_;
    ScriptedPrompt prompt_;
    int dialogRuns_ = 0;
    QString dialogAnswer_;
    std::unique_ptr<TProgressForm> progress_;
    std::unique_ptr<TChangeKeywords> changeKeywords_;
    std::unique_ptr<TEditText> editText_;
    std::unique_ptr<TAboutBox> aboutBox_;
    std::unique_ptr<KelVelmoraData> document_;
    std::unique_ptr<TKeywordsForm> form_;
};

}  // namespace velmora

QTEST_MAIN(velmora::StartupTest)
#include "startup_test.moc"
