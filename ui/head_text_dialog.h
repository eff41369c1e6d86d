#pragma once

// Editing the page's title or description in the text edit dialog, with its counter and its
// search-result preview, while an open Page Checks window follows the typing.

#include <optional>
#include <string>

#include "ui/edit_text_form.h"

namespace velmora {

class KelVelmoraData;
class TPageChecksLink;

// Shows the dialog on the document's title or description. The typed text when it was saved
// changed; nullopt when it was cancelled or left as it was (Page Checks then shows the page as
// it is again).
std::optional<std::string> AskHeadText(TEditText& dialog, TPageChecksLink& pageChecks,
                                       const KelVelmoraData& document, LivePreview::Field field);

}  // namespace velmora
