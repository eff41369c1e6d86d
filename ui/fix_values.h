#pragma once

// What a fix of the open page needs and the page cannot tell: remembered for the page's site,
// else asked for, once per fix, with the offer to remember it for the site.

#include <QString>
#include <optional>
#include <span>
#include <string>

#include "page_checks/page_fixes.h"
#include "ui/fix_value_dialog.h"

class QWidget;

namespace velmora {

class KelVelmoraData;

struct GatheredFixSettings {
    page_checks::FixSettings settings;
    // Why a value the user asked to remember could not be kept; empty when it was.
    QString storeRefusal;
};

// The folder of the page file, links resolved, as values are remembered for it and found from it.
QString PageFolderOf(const std::string& pageFile);

// The settings for fixing the checks in `only` (every fixable check when empty) of the document's
// page, asking for each value a wanted fix needs and the settings do not hold; nothing when the
// user cancelled a question.
std::optional<GatheredFixSettings> GatherFixSettings(const KelVelmoraData& document,
                                                     std::span<const CheckId> only,
                                                     QWidget* parent);

}  // namespace velmora
