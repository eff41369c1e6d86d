#pragma once

// How the page appears in a list of search results today: a round site icon, the site's name
// and a grey breadcrumb, the title and the description, each cut at a whole word with "…"
// where a result page ends it; for a desktop or a phone screen.

#include <QFrame>
#include <QString>
#include <string_view>

#include "options/page_check_options.h"
#include "page_checks/page_checks.h"

class QLabel;
class QToolButton;

namespace velmora {

// What the preview shows of a page.
struct PreviewPage {
    QString title;
    QString description;
    QString canonical;  // the canonical link's href; may be empty or relative
    QString fileName;   // only its file name is shown, and only without a web address
    QString standIn;    // the start of the page's text, shown when there is no description
    bool notIndexed = false;
};

// The preview of a checked page; `pageBytes` give the stand-in text.
PreviewPage PreviewPageOf(const page_checks::PageCheckReport& report, std::string_view pageBytes,
                          const QString& fileName);

class TSearchPreview : public QFrame {
    Q_OBJECT

public:
    enum class Screen { Desktop, Mobile };

    explicit TSearchPreview(const page_checks::TextWidthMeter& meter, QWidget* parent = nullptr);

    void Show(const PreviewPage& page, const PageCheckOptions& options);
    // Redraw with a typed title or description, the rest of the page as last shown.
    void SetTitle(const QString& title);
    void SetDescription(const QString& description);
    void SetScreen(Screen screen);
    // The "Site address" setting, used when the page names no canonical web address.
    void SetSiteAddress(const QString& address);
    // The width of a result's text column: 600 px on a desktop, 328 px on a phone.
    static int ColumnWidth(Screen screen);

    QLabel* Banner;
    QLabel* SiteLine;
    QLabel* AddressLine;
    QLabel* TitleLine;
    QLabel* DescriptionLine;
    // Says that a missing description is replaced by text the search engine picks.
    QLabel* StandInNote;
    // Says when widths are unknown and the texts are shown whole.
    QLabel* WidthNote;

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* BuildScreenToggle();
    void Redraw();
    void ApplyColours();

    const page_checks::TextWidthMeter& meter_;
    QLabel* icon_;
    QToolButton* desktop_;
    QToolButton* mobile_;
    PreviewPage page_;
    PageCheckOptions options_;
    QString siteAddress_;
    Screen screen_ = Screen::Desktop;
    bool applyingColours_ = false;
};

}  // namespace velmora
