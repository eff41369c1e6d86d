#include "ui/page_checks_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "document/velmora_data.h"
#include "options/site_fix_settings.h"
#include "page_checks/check_guidance.h"
#include "scripted_prompt.h"
#include "tests/support/private_config_home.h"
#include "ui/about_box.h"
#include "ui/change_keywords_form.h"
#include "ui/edit_text_form.h"
#include "ui/file_keywords.h"
#include "ui/fix_settings_dialog.h"
#include "ui/fix_value_dialog.h"
#include "ui/focus_keyphrases.h"
#include "ui/progress_message_form.h"
#include "ui/result_address.h"
#include "ui/search_preview.h"
#include "ui/source_view.h"
#include "ui/text_cut.h"
#include "ui/width_meter.h"

namespace velmora {
namespace {

using page_checks::CheckState;

QString Example(const QString& name) {
    return qEnvironmentVariable("VELMORA_EXAMPLES") + "/" + name;
}

// Every check row under its group, in the window's order.
QList<QTreeWidgetItem*> CheckRows(const QTreeWidget& tree) {
    QList<QTreeWidgetItem*> rows;
    for (int g = 0; g < tree.topLevelItemCount(); ++g) {
        for (int r = 0; r < tree.topLevelItem(g)->childCount(); ++r) {
            rows.append(tree.topLevelItem(g)->child(r));
        }
    }
    return rows;
}

QTreeWidgetItem* RowNamed(const QTreeWidget& tree, const QString& name) {
    for (QTreeWidgetItem* row : CheckRows(tree)) {
        if (row->text(1) == name) {
            return row;
        }
    }
    return nullptr;
}

int StateRank(const QString& state) {
    return static_cast<int>(QStringList({"problem", "improve", "good", "info"}).indexOf(state));
}

QString TitlePage(const QByteArray& title) {
    return "<!DOCTYPE html><html lang=\"en\"><head><title>" + title +
           "</title></head><body><h1>Bread</h1></body></html>";
}

// A check row's Fix button; none when the row has no fix.
QPushButton* FixButton(const QTreeWidget& tree, const QString& row) {
    QTreeWidgetItem* item = RowNamed(tree, row);
    QWidget* cell = item == nullptr ? nullptr : tree.itemWidget(item, 4);
    return cell == nullptr ? nullptr : cell->findChild<QPushButton*>();
}

// Answers each fix-value dialog as it comes: texts that OK must refuse are typed first, then the
// value with Remember as told; an empty value cancels. Records each dialog's title.
class FixValueAnswers : public QObject {
public:
    struct Step {
        QString value;
        bool remember = false;
        QStringList refused;
    };

    explicit FixValueAnswers(std::vector<Step> steps) : steps_(std::move(steps)) {
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, &FixValueAnswers::AnswerShownDialog);
        poll->start(5);
    }

    QStringList Asked;
    QStringList Failures;

private:
    void AnswerShownDialog() {
        auto* dialog = qobject_cast<TFixValueDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog->property("answered").toBool()) {
            return;
        }
        dialog->setProperty("answered", true);
        Asked.append(dialog->windowTitle());
        if (steps_.empty()) {
            Failures.append("unexpected: " + dialog->windowTitle());
            dialog->reject();
            return;
        }
        const Step step = steps_.front();
        steps_.erase(steps_.begin());
        QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        for (const QString& text : step.refused) {
            dialog->Value->setText(text);
            if (ok->isEnabled()) {
                Failures.append("accepted: " + text);
            }
        }
        if (step.value.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->Value->setText(step.value);
        dialog->Remember->setChecked(step.remember);
        if (!ok->isEnabled()) {
            Failures.append("refused: " + step.value);
        }
        ok->click();
    }

    std::vector<Step> steps_;
};

// Runs `answer` once on the first modal dialog of type D shown.
template <class D>
class ModalAnswer : public QObject {
public:
    explicit ModalAnswer(std::function<void(D&)> answer) : answer_(std::move(answer)) {
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            if (dialog != nullptr && !Answered) {
                Answered = true;
                answer_(*dialog);
            }
        });
        poll->start(5);
    }

    bool Answered = false;

private:
    std::function<void(D&)> answer_;
};

// The file window with its page open and Page Checks shown, as the program has them.
struct FileWindow {
    explicit FileWindow(const QString& page)
        : changeKeywords(prompt, progress),
          aboutBox(prompt, [](const QUrl&) { return true; }),
          form(prompt, changeKeywords, editText, aboutBox) {
        form.Prime(&document, nullptr, {"velmora", page});
        form.show();
        form.menuPageChecksClick();
        Checks = FindChild<TPageChecksWindow>(form, "PageChecksWindow");
    }

    QTreeWidget& Rows() const { return *Checks->Checks; }
    QString State(const QString& row) const { return RowNamed(Rows(), row)->text(0); }
    void Abandon() { FindChild<QAction>(form, "MenuAbandon")->trigger(); }

    ScriptedPrompt prompt;
    TProgressForm progress;
    TChangeKeywords changeKeywords;
    TEditText editText;
    TAboutBox aboutBox;
    KelVelmoraData document;
    TKeywordsForm form;
    TPageChecksWindow* Checks;
};

}  // namespace

class PageChecksWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(config_.IsValid()); }

    void GoodPageShowsEveryCheckGroupedWithItsState() {
        TPageChecksWindow window(SharedWidthMeter());
        window.Refresh(FileBytes(Example("sourdough-bakery.html")).toStdString(),
                       Example("sourdough-bakery.html"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const page_checks::PageCheckReport& report = window.Report();
        QCOMPARE(report.summary.problem, 0u);
        QCOMPARE(window.Summary->text(),
                 QString("0 problems · %1 to improve · %2 good")
                         .arg(report.summary.improve)
                         .arg(report.summary.good) +
                     (report.summary.info > 0 ? QString(" · %1 info").arg(report.summary.info)
                                              : QString()));
        QStringList groups;
        for (int g = 0; g < window.Checks->topLevelItemCount(); ++g) {
            groups.append(window.Checks->topLevelItem(g)->text(0));
        }
        QCOMPARE(groups, QStringList({"Head", "Body", "Social"}));
        QCOMPARE(CheckRows(*window.Checks).size(), static_cast<qsizetype>(report.checks.size()));

        QTreeWidgetItem* title = RowNamed(*window.Checks, "Title");
        QVERIFY(title != nullptr);
        QCOMPARE(title->text(0), QString("good"));
        QCOMPARE(title->data(0, Qt::AccessibleTextRole).toString(), QString("good"));
        QCOMPARE(title->toolTip(0), QString("good"));
        QVERIFY(!title->icon(0).isNull());
        QCOMPARE(window.Checks->headerItem()->text(2), QString("Result"));
        QVERIFY2(title->text(3).contains(
                     QRegularExpression("^1 found, \\d+ characters, (\\d+ px|width unknown)$")),
                 qPrintable(title->text(3)));
        QVERIFY(window.Preview->TitleLine->text() != "(no title)");
        QVERIFY(!window.Preview->TitleLine->text().endsWith("…"));
        QVERIFY(SaveWindowPicture(window, "page_checks_good_page"));
        ShowDark(window, "page_checks_good_page_dark");
    }

    void BadPageCountsProblemsAndExpandsItsFindings() {
        TPageChecksWindow window(SharedWidthMeter());
        window.Refresh(FileBytes(Example("neglected-page.htm")).toStdString(),
                       Example("neglected-page.htm"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const page_checks::CheckSummary& summary = window.Report().summary;
        QVERIFY(summary.problem > 0);
        QVERIFY(window.Summary->text().startsWith(
            QString("%1 problem%2 · ").arg(summary.problem).arg(summary.problem == 1 ? "" : "s")));
        int marked = 0;
        for (QTreeWidgetItem* row : CheckRows(*window.Checks)) {
            const QString state = row->text(0);
            QVERIFY2(QStringList({"good", "improve", "problem", "info"}).contains(state),
                     qPrintable(state));
            QVERIFY(!row->text(2).isEmpty());
            marked += state == "problem" ? 1 : 0;
        }
        QCOMPARE(marked, static_cast<int>(summary.problem));
        // Rows with several findings list every one underneath, with its line and column.
        QTreeWidgetItem* images = RowNamed(*window.Checks, "Image alt text");
        QVERIFY(images != nullptr);
        QCOMPARE(images->text(0), QString("improve"));
        QCOMPARE(images->childCount(), 0);
        images->setExpanded(true);
        QCOMPARE(images->childCount(), 3);
        QCOMPARE(images->child(0)->text(2), QString("Line 23, column 1: banner.gif"));
        QCOMPARE(images->child(2)->text(2), QString("Line 24, column 23: offer2.jpg"));
        // Within each group problems come first, then improve, good and info.
        for (int g = 0; g < window.Checks->topLevelItemCount(); ++g) {
            const QTreeWidgetItem* group = window.Checks->topLevelItem(g);
            for (int r = 1; r < group->childCount(); ++r) {
                QVERIFY2(
                    StateRank(group->child(r - 1)->text(0)) <= StateRank(group->child(r)->text(0)),
                    qPrintable(group->child(r)->text(1)));
            }
        }
        QCOMPARE(window.Checks->topLevelItem(0)->child(0)->text(0), QString("problem"));
        images->setExpanded(true);
        QVERIFY(SaveWindowPicture(window, "page_checks_bad_page"));
        ShowDark(window, "page_checks_bad_page_dark");
    }

    void PreviewCutsALongTitleAtThePixelLimit() {
        const page_checks::TextWidthMeter& meter = SharedWidthMeter();
        if (!meter.HasFont()) {
            QSKIP("Liberation Sans is not installed");
        }
        const QByteArray title =
            "Sourdough bread, rye loaves and country pastries baked fresh every morning in the "
            "old town";
        TPageChecksWindow window(meter);
        window.Refresh(TitlePage(title).toStdString(), "/srv/site/bread.html");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QString shown = window.Preview->TitleLine->text();
        QVERIFY(shown.endsWith("…"));
        const QString kept = shown.chopped(1);
        QVERIFY(QString::fromUtf8(title).startsWith(kept));
        QVERIFY(*meter.Width(shown.toStdString(), 20) <= 600);
        // The cut falls after a whole word, and the next whole word would not fit.
        const QString whole = QString::fromUtf8(title);
        QVERIFY2(whole.at(kept.size()).isSpace(), qPrintable(shown));
        const qsizetype nextEnd = whole.indexOf(' ', kept.size() + 1);
        QVERIFY(*meter.Width((whole.left(nextEnd) + "…").toStdString(), 20) > 600);
        QCOMPARE(window.Preview->TitleLine->toolTip(), QString::fromUtf8(title));
        // A local path is never shown as the address.
        QCOMPARE(window.Preview->AddressLine->text(), QString("… › bread.html"));
        QCOMPARE(window.Preview->SiteLine->text(), QString("Site address not set"));
        QVERIFY(window.Preview->TitleLine->width() >=
                window.Preview->TitleLine->fontMetrics().horizontalAdvance(shown));
        QVERIFY(window.Preview->WidthNote->isHidden());
        QVERIFY(SaveWindowPicture(*window.Preview, "search_preview_cut_title"));
        ShowDark(*window.Preview, "search_preview_cut_title_dark");
    }

    void PreviewShowsTheCanonicalAddress() {
        TPageChecksWindow window(SharedWidthMeter());
        window.Refresh(
            "<html><head><title>Bread</title><link rel=\"Canonical\" "
            "href=\"https://bakery.example/bread\"></head></html>",
            "/srv/site/bread.html");
        QCOMPARE(window.Preview->SiteLine->text(), QString("bakery.example"));
        QCOMPARE(window.Preview->AddressLine->text(), QString("https://bakery.example › bread"));
        QVERIFY(window.Preview->Banner->isHidden());
    }

    void PreviewAddressComesFromTheCanonicalElseTheSiteAddress() {
        const struct {
            const char* canonical;
            const char* site;
            const char* siteName;
            const char* breadcrumb;
        } cases[] = {
            {"https://www.bakery.example/shop/rye%20bread", "", "bakery.example",
             "https://www.bakery.example › shop › rye bread"},
            {"/shop/rye.html", "bakery.example", "bakery.example",
             "https://bakery.example › shop › rye.html"},
            {"", "https://bakery.example/shop/", "bakery.example",
             "https://bakery.example › shop › page.htm"},
            {"shop/rye.html", "", "Site address not set", "… › page.htm"},
            {"file:///srv/site/page.htm", "", "Site address not set", "… › page.htm"},
        };
        for (const auto& c : cases) {
            const ResultAddress address =
                AddressOfResult(c.canonical, c.site, "/srv/site/page.htm");
            QCOMPARE(address.siteName, QString::fromUtf8(c.siteName));
            QCOMPARE(address.breadcrumb, QString::fromUtf8(c.breadcrumb));
        }
    }

    void PreviewWithoutDescriptionOrIndexingSaysWhatSearchEnginesDo() {
        TPageChecksWindow window(SharedWidthMeter());
        window.Refresh(
            "<html><head><title>Bread</title><meta name=\"robots\" content=\"NOINDEX\">"
            "</head><body><h1>Fresh bread</h1><p>Our bakery bakes rye and sourdough loaves every "
            "morning.</p></body></html>",
            "bread.html");
        QCOMPARE(window.Preview->DescriptionLine->text(),
                 QString("Fresh bread Our bakery bakes rye and sourdough loaves every morning."));
        QVERIFY(window.Preview->DescriptionLine->font().italic());
        QVERIFY(!window.Preview->StandInNote->isHidden());
        QVERIFY(!window.Preview->Banner->isHidden());
        QCOMPARE(window.Preview->Banner->text(),
                 QString("Search engines are asked not to show this page."));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(SaveWindowPicture(*window.Preview, "search_preview_noindex_stand_in"));
        ShowDark(*window.Preview, "search_preview_noindex_stand_in_dark");
    }

    void MobilePreviewWrapsInANarrowerColumn() {
        const page_checks::TextWidthMeter& meter = SharedWidthMeter();
        if (!meter.HasFont()) {
            QSKIP("Liberation Sans is not installed");
        }
        const QByteArray description =
            "Sourdough bread, rye loaves and country pastries baked fresh every morning in the old "
            "town bakery by the river, with organic flour from the mill up the valley and salt "
            "from the coast.";
        TPageChecksWindow window(meter);
        window.Refresh(("<html><head><title>Bread</title><meta name=\"description\" content=\"" +
                        description + "\"></head></html>")
                           .toStdString(),
                       "bread.html");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString desktop = window.Preview->DescriptionLine->text();
        QCOMPARE(window.Preview->DescriptionLine->width(), 600);
        FindChild<QToolButton>(*window.Preview, "MobileButton")->click();
        QCOMPARE(window.Preview->DescriptionLine->width(), 328);
        const QString mobile = window.Preview->DescriptionLine->text();
        QVERIFY(mobile.endsWith("…"));
        QVERIFY(mobile.size() < desktop.size());
        QVERIFY(*meter.Width(mobile.toStdString(), 14) <= 680);
        QVERIFY(window.Preview->DescriptionLine->height() >=
                window.Preview->DescriptionLine->heightForWidth(328));
        QVERIFY(SaveWindowPicture(*window.Preview, "search_preview_mobile"));
    }

    void WithoutTheFontTextsAreWholeAndTheNoteSaysSo() {
        const page_checks::TextWidthMeter noFont("/nonexistent/font.ttf");
        const CutText cut = CutToPixels(noFont, QString(200, 'W'), 20, 600);
        QVERIFY(!cut.cut);
        QCOMPARE(cut.text.size(), 200);
        TPageChecksWindow window(noFont);
        window.Refresh(TitlePage(QByteArray(200, 'W')).toStdString(), "w.html");
        QCOMPARE(window.Preview->TitleLine->text(), QString(200, 'W'));
        QVERIFY(!window.Preview->WidthNote->isHidden());
    }

    void SwitchedOffChecksAreLeftOut() {
        TPageChecksWindow window(SharedWidthMeter());
        window.Options.SetEnabled(CheckId::Social, false);
        window.Refresh(FileBytes(Example("neglected-page.htm")).toStdString(), "neglected.htm");
        QCOMPARE(RowNamed(*window.Checks, "Social previews"), nullptr);
        QVERIFY(window.Checks->topLevelItem(2)->isHidden());
    }

    void RowsCopyAsTextAndTheReportAsMarkdown() {
        TPageChecksWindow window(SharedWidthMeter());
        const QString page = Example("neglected-page.htm");
        window.Refresh(FileBytes(page).toStdString(), page);
        QTreeWidgetItem* title = RowNamed(*window.Checks, "Title");
        QTreeWidgetItem* images = RowNamed(*window.Checks, "Image alt text");
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        title->setSelected(true);
        images->setExpanded(true);
        images->child(1)->setSelected(true);
        const QString titleMessage = title->text(2);
        QCOMPARE(window.SelectedRowsText(),
                 QString("%1\tTitle\t%2\t%3\nLine 24, column 1: offer1.jpg")
                     .arg(title->text(0), titleMessage, title->text(3)));
        window.Checks->setFocus();
        QTest::keyClick(window.Checks, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), window.SelectedRowsText());

        FindChild<QPushButton>(window, "CopyReportButton")->click();
        const QString markdown = QApplication::clipboard()->text();
        QVERIFY(markdown.startsWith("# Page checks: neglected-page.htm\n\n" +
                                    window.Summary->text() +
                                    "\n\n## Head\n\n"
                                    "| State | Check | Result | Measured |\n|---|---|---|---|\n"));
        QVERIFY(
            markdown.contains("Line 23, column 1: banner.gif<br>Line 24, column 1: offer1.jpg"));
        QCOMPARE(markdown.count("\n| "), static_cast<qsizetype>(window.Report().checks.size() + 3));
        // Nothing of the page is taken for Markdown or HTML.
        QVERIFY(!markdown.contains("<img"));
    }

    void DetailPaneSaysWhyAndHow() {
        TPageChecksWindow window(SharedWidthMeter());
        window.Refresh(FileBytes(Example("neglected-page.htm")).toStdString(), "neglected.htm");
        auto* detail = FindChild<QTextBrowser>(window, "CheckDetail");
        RowNamed(*window.Checks, "Image alt text")->setExpanded(true);
        window.Checks->setCurrentItem(RowNamed(*window.Checks, "Image alt text")->child(0));
        const QString text = detail->toPlainText();
        QVERIFY2(text.startsWith("Image alt text (improve)"), qPrintable(text));
        QVERIFY(text.contains("Why it matters"));
        QVERIFY(text.contains(QString::fromUtf8(
            page_checks::GuidanceFor(CheckId::Images).how.data(),
            static_cast<qsizetype>(page_checks::GuidanceFor(CheckId::Images).how.size()))));
        QVERIFY(text.contains("Line 24, column 23: offer2.jpg"));
    }

    void DoubleClickOpensTheSourceAtTheFinding() {
        TPageChecksWindow window(SharedWidthMeter());
        const QString page = Example("neglected-page.htm");
        window.Refresh(FileBytes(page).toStdString(), page);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.ShowSource(*RowNamed(*window.Checks, "Content length")));
        RowNamed(*window.Checks, "Image alt text")->setExpanded(true);
        QTreeWidgetItem* finding = RowNamed(*window.Checks, "Image alt text")->child(2);
        window.Checks->scrollToItem(finding);
        QCoreApplication::processEvents();
        emit window.Checks->itemDoubleClicked(finding, 2);
        auto* view = window.findChild<TSourceView*>();
        QVERIFY(view != nullptr && view->isVisible());
        QCOMPARE(view->Source->textCursor().blockNumber(), 23);
        QCOMPARE(view->Source->textCursor().positionInBlock(), 22);
        QVERIFY(view->Source->isReadOnly());
        QCOMPARE(view->Source->extraSelections().size(), 1);
        QCOMPARE(view->Source->extraSelections().front().cursor.selectedText(),
                 QString("<img src=\"offer2.jpg\">"));
        QVERIFY(view->Source->GutterWidth() > 0);
        QVERIFY(SaveWindowPicture(*view, "page_checks_source_view"));
    }

    void TypedKeyphraseIsKeptPerPageAndTheKeywordIsOnlyAFallback() {
        QTemporaryDir folder;
        const QString page = folder.filePath("sourdough-bread.htm");
        const QByteArray bytes =
            "<html><head><title>Sourdough bread</title><meta name=\"keywords\" "
            "content=\"bread, rye\"></head><body><h1>Sourdough bread</h1></body></html>";
        WriteFile(page, bytes);
        auto window = std::make_unique<TPageChecksWindow>(SharedWidthMeter());
        window->Refresh(bytes.toStdString(), page);
        auto* field = FindChild<QLineEdit>(*window, "Keyphrase");
        QVERIFY(field->text().isEmpty());
        QCOMPARE(field->placeholderText(),
                 QString("bread (the first meta keyword, until you type one)"));
        QVERIFY(FindChild<QLabel>(*window, "KeyphraseNote")->isHidden());

        field->setText("  sourdough   bread ");
        emit field->editingFinished();
        const page_checks::CheckResult* check = nullptr;
        for (const auto& result : window->Report().checks) {
            check = result.id == CheckId::Keyphrase ? &result : check;
        }
        QVERIFY(check != nullptr);
        QCOMPARE(std::get<std::string>(check->Value("keyphrase")->value), "sourdough bread");
        QCOMPARE(std::get<std::string>(check->Value("source")->value), "focus");
        QVERIFY(field->placeholderText().isEmpty());

        // Kept under the page's canonical path: the same file reached another way finds it,
        // and a new keyword list (as Auto makes) leaves it alone.
        const QString other = folder.filePath("rye.htm");
        WriteFile(other, bytes);
        window->Refresh(bytes.toStdString(), other);
        QVERIFY(field->text().isEmpty());
        window = std::make_unique<TPageChecksWindow>(SharedWidthMeter());
        QByteArray autoKeywords = bytes;
        autoKeywords.replace("bread, rye", "loaf, bread");
        window->Refresh(autoKeywords.toStdString(), folder.path() + "/./sourdough-bread.htm");
        QCOMPARE(FindChild<QLineEdit>(*window, "Keyphrase")->text(), QString("sourdough bread"));

        // Cleared: the fallback returns and the entry goes.
        FindChild<QLineEdit>(*window, "Keyphrase")->clear();
        emit FindChild<QLineEdit>(*window, "Keyphrase")->editingFinished();
        QCOMPARE(TFocusKeyphrases::Load(page), QString());
    }

    // Each fix is one edit of the open page: the row turns good, the page is modified, and
    // Abandon Changes gives back the very bytes.
    void FixMakesItsRowGoodAndAbandonTakesItBack() {
        QTemporaryDir folder;
        const QString page = folder.filePath("bread.htm");
        const QByteArray bytes =
            "<!DOCTYPE html>\r\n<html lang=\"e n\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
            "<title>Sourdough bread from the corner bakery</title>\r\n</head>\r\n"
            "<body><h1>Sourdough bread</h1></body>\r\n</html>\r\n";
        WriteFile(page, bytes);
        FileWindow window(page);
        const std::string loaded = window.document.GetHtml();
        QCOMPARE(window.State("Viewport"), QString("improve"));
        QPushButton* fix = FixButton(window.Rows(), "Viewport");
        QVERIFY(fix != nullptr);
        QCOMPARE(fix->accessibleName(), QString("Fix Viewport"));
        QVERIFY(FindChild<QPushButton>(*window.Checks, "FixAllButton")->isEnabled());
        // A malformed language is left to the person, and the row says why.
        QVERIFY(FixButton(window.Rows(), "Language") == nullptr);
        QVERIFY2(RowNamed(window.Rows(), "Language")->toolTip(4).contains("malformed"),
                 qPrintable(RowNamed(window.Rows(), "Language")->toolTip(4)));
        QVERIFY(FixButton(window.Rows(), "Title") == nullptr);
        // Tab reaches the buttons from the rows.
        QVERIFY(QTest::qWaitForWindowActive(window.Checks));
        window.Rows().setFocus();
        QTest::keyClick(&window.Rows(), Qt::Key_Tab);
        auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        QVERIFY(focused != nullptr && focused->accessibleName().startsWith("Fix "));
        QVERIFY(SaveWindowPicture(*window.Checks, "page_checks_fix_buttons"));

        fix->click();
        QCOMPARE(QApplication::focusWidget(), &window.Rows());
        QVERIFY(window.document.IsModified());
        QVERIFY(window.document.GetHtml().find(
                    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">") !=
                std::string::npos);
        QCOMPARE(window.State("Viewport"), QString("good"));
        QVERIFY(FixButton(window.Rows(), "Viewport") == nullptr);
        QCOMPARE(FindChild<QLabel>(*window.Checks, "FixNote")->text(), QString("Fixed: Viewport."));
        QVERIFY(FindChild<QAction>(window.form, "MenuAbandon")->isEnabled());

        window.Abandon();
        QVERIFY(!window.document.IsModified());
        QCOMPARE(window.document.GetHtml(), loaded);
        QCOMPARE(FileBytes(page), bytes);
        QCOMPARE(window.State("Viewport"), QString("improve"));
        QVERIFY(FixButton(window.Rows(), "Viewport") != nullptr);
        QVERIFY(FindChild<QLabel>(*window.Checks, "FixNote")->isHidden());
    }

    // Fix All asks once for each value the fixes need, remembers what it is told to for the
    // site, uses that from then on, and a cancelled question leaves the page alone.
    void FixAllAsksOnceForWhatThePageCannotTell() {
        QTemporaryDir site;
        QDir(site.path()).mkpath("shop/rolls");
        const QString page = site.filePath("shop/bread.htm");
        const QByteArray bytes =
            "<!DOCTYPE html>\n<html>\n<head>\n<title>Dark rye bread baked every morning</title>\n"
            "<meta name=\"description\" content=\"Dark rye &amp; spelt bread.\">\n</head>\n"
            "<body><h1>Rye bread</h1></body>\n</html>\n";
        WriteFile(page, bytes);
        FileWindow window(page);
        const std::string loaded = window.document.GetHtml();
        for (const QString row : {"Language", "Canonical URL", "Social previews"}) {
            QVERIFY2(FixButton(window.Rows(), row) != nullptr, qPrintable(row));
        }
        {
            FixValueAnswers answers({{"en-GB", true, {"e n", "zz-top-secret!"}},
                                     {"https://bakery.example/shop/",
                                      true,
                                      {"bakery.example", "ftp://bakery.example/", "https:// x/",
                                       "https://bakery.example/shop/?page=1"}},
                                     {"https://bakery.example/card.png", false, {"card.png"}}});
            FindChild<QPushButton>(*window.Checks, "FixAllButton")->click();
            QCOMPARE(answers.Failures, QStringList());
            QCOMPARE(answers.Asked.size(), 3);
        }
        const std::string& fixed = window.document.GetHtml();
        for (const char* made :
             {"<html lang=\"en-GB\">", "<meta charset=\"utf-8\">",
              "<link rel=\"canonical\" href=\"https://bakery.example/shop/bread.htm\">",
              "<meta property=\"og:url\" content=\"https://bakery.example/shop/bread.htm\">",
              "<meta property=\"og:image\" content=\"https://bakery.example/card.png\">",
              "<meta property=\"og:description\" content=\"Dark rye &amp; spelt bread.\">"}) {
            QVERIFY2(fixed.find(made) != std::string::npos, made);
        }
        for (const QString row :
             {"Language", "Canonical URL", "Social previews", "Viewport", "Character set"}) {
            QVERIFY2(window.State(row) == "good", qPrintable(row));
        }
        QVERIFY(FindChild<QLabel>(*window.Checks, "FixNote")->text().startsWith("Fixed: "));
        window.Abandon();
        QCOMPARE(window.document.GetHtml(), loaded);

        // Only the image was not remembered; cancelling its question changes nothing.
        {
            FixValueAnswers answers(std::vector<FixValueAnswers::Step>(1));
            FindChild<QPushButton>(*window.Checks, "FixAllButton")->click();
            QCOMPARE(answers.Failures, QStringList());
            QCOMPARE(answers.Asked, QStringList({"Image for Sharing"}));
        }
        QVERIFY(!window.document.IsModified());
        QCOMPARE(window.document.GetHtml(), loaded);
        const SiteFixValues remembered =
            SiteFixSettings().Load(QFileInfo(page).canonicalPath().toStdString() + "/rolls");
        QCOMPARE(remembered.address, std::optional<std::string>("https://bakery.example/shop/"));
        QCOMPARE(remembered.lang, std::optional<std::string>("en-GB"));
        QCOMPARE(remembered.ogImage, std::nullopt);

        // A page below the folder shares the remembered address without being asked.
        const QString rolls = site.filePath("shop/rolls/index.html");
        WriteFile(rolls, bytes);
        window.form.OpenHtmlFile(rolls);
        {
            FixValueAnswers answers({});
            FixButton(window.Rows(), "Canonical URL")->click();
            QCOMPARE(answers.Asked, QStringList());
        }
        QVERIFY(window.document.GetHtml().find(
                    "<link rel=\"canonical\" href=\"https://bakery.example/shop/rolls/\">") !=
                std::string::npos);
        QCOMPARE(window.State("Canonical URL"), QString("good"));

        // A remembered value the dialog would refuse is asked for again.
        SiteFixSettings().Save({remembered.folder, std::nullopt, "e n", std::nullopt});
        {
            FixValueAnswers answers(std::vector<FixValueAnswers::Step>(1));
            FixButton(window.Rows(), "Language")->click();
            QCOMPARE(answers.Asked, QStringList({"Language of the Page"}));
        }
        QVERIFY(window.document.GetHtml().find("lang=") == std::string::npos);
    }

    // Fix Settings shows what the Fix buttons remembered for the page's site, takes a change only
    // as the ask-once dialog would, the fixes use it, and Forget forgets it.
    void FixSettingsChangeAndForgetWhatTheSiteRemembered() {
        QTemporaryDir site;
        QDir(site.path()).mkpath("shop/rolls");
        const QString page = site.filePath("shop/rolls/bread.htm");
        WriteFile(page,
                  "<html>\n<head>\n<title>Rye</title>\n</head>\n<body><h1>Rye</h1></body>\n"
                  "</html>\n");
        const std::string shop = QFileInfo(site.filePath("shop")).canonicalFilePath().toStdString();
        const std::string rolls = shop + "/rolls";
        SiteFixSettings().Save({shop, "https://bakery.example/shop/", "en-GB", std::nullopt});
        FileWindow window(page);
        auto* button = FindChild<QPushButton>(*window.Checks, "FixSettingsButton");
        QVERIFY(button->isEnabled());
        const auto edit = [&](std::function<void(TFixSettingsDialog&)> answer) {
            ModalAnswer<TFixSettingsDialog> modal(std::move(answer));
            button->click();
            return modal.Answered;
        };

        QStringList failures;
        QVERIFY(edit([&](TFixSettingsDialog& dialog) {
            if (dialog.Address->text() != "https://bakery.example/shop/" ||
                dialog.Language->text() != "en-GB" || !dialog.Image->text().isEmpty() ||
                !FindChild<QLabel>(dialog, "FixSettingsFolder")
                     ->text()
                     .contains(QString::fromStdString(shop))) {
                failures.append("not shown as remembered");
            }
            QPushButton* save =
                dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save);
            for (const auto& [field, typed] : {std::pair{dialog.Language, "e n"},
                                               {dialog.Language, "zz-top-secret!"},
                                               {dialog.Image, "card.png"},
                                               {dialog.Address, "https://bakery.example/?p=1"}}) {
                const QString before = field->text();
                field->setText(typed);
                if (save->isEnabled()) {
                    failures.append(QStringLiteral("accepted: ") + typed);
                }
                field->setText(before);
            }
            // Each field has its Alt key.
            if (!QTest::qWaitForWindowActive(&dialog)) {
                failures.append("not active");
            }
            QTest::keyClick(&dialog, Qt::Key_L, Qt::AltModifier);
            if (QApplication::focusWidget() != dialog.Language) {
                failures.append("Alt+L does not reach the language");
            }
            dialog.Language->setText(" de ");
            dialog.Image->setText("https://bakery.example/card.png");
            dialog.Address->clear();
            if (!save->isEnabled()) {
                failures.append("refused valid values");
            }
            if (!SaveWindowPicture(dialog, "fix_settings_dialog")) {
                failures.append("no picture");
            }
            save->click();
        }));
        QCOMPARE(failures, QStringList());
        const SiteFixValues edited{shop, std::nullopt, "de", "https://bakery.example/card.png"};
        QVERIFY(SiteFixSettings().Load(rolls) == edited);
        // The fixes take the changed value without asking; the address is asked for again.
        {
            FixValueAnswers answers({});
            FixButton(window.Rows(), "Language")->click();
            QCOMPARE(answers.Asked, QStringList());
        }
        QVERIFY(window.document.GetHtml().find("<html lang=\"de\">") != std::string::npos);
        {
            FixValueAnswers answers(std::vector<FixValueAnswers::Step>(1));
            FixButton(window.Rows(), "Canonical URL")->click();
            QCOMPARE(answers.Asked, QStringList({"Web Address of the Page's Folder"}));
        }

        // Escape keeps what was remembered; Forget forgets it, and then the page's own folder is
        // the one shown.
        QVERIFY(edit([](TFixSettingsDialog& dialog) {
            dialog.Language->setText("fr");
            QTest::keyClick(&dialog, Qt::Key_Escape);
        }));
        QVERIFY(SiteFixSettings().Load(rolls) == edited);
        QVERIFY(edit([](TFixSettingsDialog& dialog) { dialog.Forget->click(); }));
        QVERIFY(SiteFixSettings().Load(rolls) == SiteFixValues());
        QVERIFY(edit([&](TFixSettingsDialog& dialog) {
            if (dialog.Edited() != SiteFixValues{rolls, {}, {}, {}}) {
                failures.append("not the page's folder");
            }
            dialog.reject();
        }));
        QCOMPARE(failures, QStringList());
    }

    void EscapeAndCtrlWClose() {
        TPageChecksWindow window(SharedWidthMeter());
        window.ShowNoPage();
        QVERIFY(!FindChild<QPushButton>(window, "FixSettingsButton")->isEnabled());
        for (const QKeyCombination key :
             {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ControlModifier, Qt::Key_W)}) {
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QTest::keyClick(&window, key.key(), key.keyboardModifiers());
            QVERIFY(!window.isVisible());
        }
    }

    // How fast it opens is measured by the window's benchmark; here, that a megabyte page with
    // thousands of findings opens whole.
    void OpensAOneMegabytePageWithEveryFindingListed() {
        QByteArray page = FileBytes(Example("neglected-page.htm"));
        const QByteArray paragraph = "<p>Fresh bread <a href=\"/more\">more</a> and rolls.</p>\n";
        qsizetype added = 0;
        while (page.size() < 1024 * 1024) {
            page.insert(page.lastIndexOf("</body>"), paragraph.repeated(1000));
            added += 1000;
        }
        TPageChecksWindow window(SharedWidthMeter());
        window.Refresh(page.toStdString(), "big.htm");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTreeWidgetItem* links = RowNamed(*window.Checks, "Link texts");
        QVERIFY(links != nullptr);
        links->setExpanded(true);
        QVERIFY(links->childCount() >= added);
        for (const page_checks::CheckResult& check : window.Report().checks) {
            if (check.id == CheckId::Links) {
                QCOMPARE(static_cast<std::size_t>(links->childCount()), check.listed.size());
            }
        }
    }

private:
    static void ShowDark(QWidget& widget, const QString& picture) {
        const QPalette light = QApplication::palette();
        QApplication::setPalette(DarkPalette());
        QCoreApplication::processEvents();
        QVERIFY(SaveWindowPicture(widget, picture));
        QApplication::setPalette(light);
        QCoreApplication::processEvents();
    }

    test::PrivateConfigHome config_;
};

}  // namespace velmora

QTEST_MAIN(velmora::PageChecksWindowTest)
#include "page_checks_window_test.moc"
