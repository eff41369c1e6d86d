#pragma once

// The file window's link to the Page Checks window: one window per program, made when first
// asked for, checking the open page again while it is shown.

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QTimer;
class QWidget;

#include "page_checks/page_checks.h"

namespace velmora {

class KelVelmoraData;

// The page checks of the document's page with the stored settings and the page's focus
// keyphrase, as the Page Checks window runs them.
page_checks::PageCheckReport CheckDocument(const KelVelmoraData& document);
class TPageChecksWindow;

class TPageChecksLink : public QObject {
    Q_OBJECT

public:
    // The window is made as a child window of `owner`.
    explicit TPageChecksLink(QWidget& owner);

    // Shows the window, brought to the front, with the checks of the document's page.
    void Show(const KelVelmoraData& document);
    // Checks the page again when the window is shown.
    void Refresh(const KelVelmoraData& document);
    // Takes the page-check settings from the store again.
    void ReloadSettings();
    // While a title or description is typed: the preview follows each key, the checks the page
    // as `editedPage` makes it once typing pauses. `Refresh` returns to the page as it is.
    void FollowTyping(bool title, const QString& typed, std::function<std::string()> editedPage,
                      const QString& fileName);

private:
    void CheckTypedPage();

    QWidget& owner_;
    TPageChecksWindow* window_ = nullptr;
    QTimer* pause_;
    std::function<std::string()> editedPage_;
    QString typedFileName_;
};

}  // namespace velmora
