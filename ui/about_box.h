#pragma once

// The About box: icon, title, version line and the maker's web address.

#include <QDialog>
#include <QIcon>
#include <QString>
#include <QUrl>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace velmora {

class Prompt;

// Hands a URL to the desktop (browser, file viewer); false when the hand-over failed.
using UrlOpener = std::function<bool(const QUrl&)>;
bool OpenUrlWithDesktop(const QUrl& url);

// The program's icon, drawn so that it needs no image file.
QIcon ApplicationIcon();

inline constexpr const char* kWebsiteAddress = "www.kelgard.example";

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    TAboutBox(Prompt& prompt, UrlOpener openUrl, QWidget* parent = nullptr);

    // Sets the caption and shows the box modally.
    void ShowAbout();
    // "About Kelgard's Velmora" for the title "Velmora"; a title that already starts with the
    // maker's name is not repeated.
    static QString AboutCaption(const QString& title);

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* lbl_title;
    QLabel* lbl_version;
    QLabel* lblComments;
    QLabel* lblWebsite;
    QPushButton* OKButton;

public slots:
    void lblWebsiteClick();

private:
    Prompt& prompt_;
    UrlOpener openUrl_;
};

}  // namespace velmora
