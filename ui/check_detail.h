#pragma once

// The detail pane of the Page Checks window: the selected check's result, what it measured,
// why it matters, how to fix it and where each finding stands in the page.

#include <QTextBrowser>

#include "page_checks/check_result.h"

namespace velmora {

class TCheckDetail : public QTextBrowser {
    Q_OBJECT

public:
    explicit TCheckDetail(QWidget* parent = nullptr);

    // Nothing selected: a hint on what the pane shows.
    void ShowNothing();
    void Show(const page_checks::CheckResult& check);
};

}  // namespace velmora
