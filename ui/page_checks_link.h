#pragma once

// The file window's link to the Page Checks window: one window per program, made when first
// asked for, checking the open page again while it is shown.

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QTimer;
class QWidget;

#include "page_checks/page_checks.h"
#include "page_checks/page_fixes.h"

namespace velmora {

class KelVelmoraData;
struct PageCheckSetup;
class TPageChecksWindow;

// How the desktop's document checks its page: with `options`, the shared width meter and the
// focus keyphrase kept for each page file.
PageCheckSetup DesktopPageChecks(const PageCheckOptions& options);

class TPageChecksLink : public QObject {
    Q_OBJECT

public:
    // The window is made as a child window of `owner`.
    explicit TPageChecksLink(QWidget& owner);

    // Shows the window, brought to the front, with the checks the document keeps.
    void Show(const KelVelmoraData& document);
    // Shows the checks the document keeps when the window is shown.
    void Refresh(const KelVelmoraData& document);
    // While a title or description is typed: the preview follows each key, the checks the page
    // as `editedPage` makes it once typing pauses. `Refresh` returns to the page as it is.
    void FollowTyping(bool title, const QString& typed, std::function<std::string()> editedPage,
                      const QString& fileName);
    // Shows what the fix just made and what it left beside the checks.
    void ShowFixResult(const page_checks::FixPlan& plan);

signals:
    // The user typed a focus keyphrase for the page, and it is kept.
    void KeyphraseKept();
    // A Fix button was pressed: the checks to fix, every fixable one when empty.
    void FixRequested(const std::vector<CheckId>& only);

private:
    void CheckTypedPage();

    QWidget& owner_;
    TPageChecksWindow* window_ = nullptr;
    QTimer* pause_;
    std::function<std::string()> editedPage_;
    QString typedFileName_;
};

}  // namespace velmora
