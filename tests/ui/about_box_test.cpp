#include "ui/about_box.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "scripted_prompt.h"
#include "ui/application_version.h"

namespace velmora {

class AboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    void VersionNumbersComeFromTheBuildTexts() {
        const ApplicationVersion version = ParseApplicationVersion("2.0.7", "31");
        QCOMPARE(version.Major, 2);
        QCOMPARE(version.Minor, 0);
        QCOMPARE(version.Release, 7);
        QCOMPARE(version.Build, 31);

        const ApplicationVersion unset = ParseApplicationVersion("", "");
        QCOMPARE(unset.Major, 0);
        QCOMPARE(unset.Build, 0);

        const ApplicationVersion odd = ParseApplicationVersion("3.x.70000", "12a");
        QCOMPARE(odd.Major, 3);
        QCOMPARE(odd.Minor, 0);
        QCOMPARE(odd.Release, 0);
        QCOMPARE(odd.Build, 0);

        QCOMPARE(VersionLine("2.0", 31), QString("Version: 2.0 - Build 31"));
        QCOMPARE(ProductVersionText(), QString(VELMORA_EXPECTED_VERSION_TEXT));
        QCOMPARE(GetApplicationVersion().Build,
                 ParseApplicationVersion("", VELMORA_EXPECTED_BUILD_NUMBER).Build);
    }

    void CaptionNamesTheMakerOnce() {
        QCOMPARE(TAboutBox::AboutCaption("Velmora"), QString("About Kelgard's Velmora"));
        QCOMPARE(TAboutBox::AboutCaption("Kelgard Velmora"), QString("About Kelgard Velmora"));
        QCOMPARE(TAboutBox::AboutCaption("kelgard tool"), QString("About Kelgard's kelgard tool"));
    }

    void ShowsTitleVersionAndCloses() {
        ScriptedPrompt prompt;
        TAboutBox box(prompt, [](const QUrl&) { return true; });
        QCOMPARE(box.lbl_title->text(), QString("Velmora"));
        QCOMPARE(box.lbl_version->text(),
                 VersionLine(ProductVersionText(), GetApplicationVersion().Build));
        QCOMPARE(box.lblComments->text(),
                 QString("For the latest version of this tool, other tools, information and "
                         "other resources please visit:"));
        QVERIFY(box.lbl_title->font().pointSizeF() > box.lbl_version->font().pointSizeF());

        bool shown = false;
        QTimer::singleShot(0, &box, [&] {
            shown = box.isVisible();
            QCOMPARE(box.windowTitle(), QString("About Kelgard's Velmora"));
            QVERIFY(box.OKButton->isVisible());
            // Every text fits its label.
            for (QLabel* label :
                 {box.lbl_title, box.lbl_version, box.lblComments, box.lblWebsite}) {
                QVERIFY2(label->height() >= label->minimumSizeHint().height(),
                         qPrintable(label->text()));
                QVERIFY2(label->width() >= label->minimumSizeHint().width(),
                         qPrintable(label->text()));
            }
            QVERIFY(box.width() >= 298);
            QVERIFY(SaveWindowPicture(box, "about_box"));
            QTest::keyClick(&box, Qt::Key_Return);
        });
        box.ShowAbout();
        QVERIFY(shown);
        QCOMPARE(box.result(), int(QDialog::Accepted));
        QVERIFY(prompt.Asked().isEmpty());
    }

    void WebAddressOpensWithHttpsAndAFailureIsReported() {
        ScriptedPrompt prompt;
        QList<QUrl> opened;
        bool handOverWorks = true;
        TAboutBox box(prompt, [&](const QUrl& url) {
            opened.append(url);
            return handOverWorks;
        });
        emit box.lblWebsite->linkActivated(box.lblWebsite->text());
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.front().toString(), QString("https://www.kelgard.example"));
        QVERIFY(prompt.Asked().isEmpty());

        handOverWorks = false;
        box.lblWebsiteClick();
        QCOMPARE(prompt.Asked().size(), 1);
        QCOMPARE(prompt.Asked().front().icon, Prompt::Icon::Warning);
        QVERIFY(prompt.Asked().front().text.contains("https://www.kelgard.example"));
    }
};

}  // namespace velmora

QTEST_MAIN(velmora::AboutBoxTest)
#include "about_box_test.moc"
