// The file window's fixes of what the page checks find: each one an edit of the open page, like
// a title edit, so the display and Page Checks follow and Abandon Changes takes it back.

#include <QApplication>

#include "document/velmora_data.h"
#include "ui/check_fixes.h"
#include "ui/file_keywords.h"
#include "ui/fix_values.h"
#include "ui/page_checks_link.h"

namespace velmora {

void TKeywordsForm::FixPageChecks(const std::vector<CheckId>& only) {
    Guarded([this, &only] {
        const std::optional<GatheredFixSettings> gathered =
            GatherFixSettings(*Document, only, QApplication::activeWindow());
        if (!gathered) {
            return;
        }
        page_checks::FixPlan plan;
        ApplyEdit([&] {
            plan = Document->FixPageChecks(gathered->settings, Document->CheckOptions(), only,
                                           Options);
        });
        pageChecks_->ShowFixResult(plan);
        // A value that could not be remembered still served this fix.
        ShowStatus(FixResultText(plan) + (gathered->storeRefusal.isEmpty()
                                              ? QString()
                                              : QLatin1Char(' ') + gathered->storeRefusal));
    });
}

}  // namespace velmora
