// The head edits of the page document, shared by the desktop program and velmora-cli.

#include "analysis/keyword_choice.h"
#include "core/edited_text.h"
#include "core/html_functions_read.h"
#include "core/html_functions_write.h"
#include "core/page_encoding.h"
#include "document/velmora_data.h"

namespace velmora {

void KelVelmoraData::Edit(const std::function<std::string(const std::string&)>& edit,
                          const KelVelmoraOptions& options) {
    // Before the first edit of a page whose analysis waits until needed, the current text is the
    // saved text: it goes before the edited text is made, so a large page is held twice, not
    // three times.
    if (analysis_ == Analysis::WhenNeeded && !IsReviewed() && GetHtml() == SavedText) {
        ReplaceUnreviewed(std::string());
        try {
            Update(edit(SavedText), options);
        } catch (...) {
            ReplaceUnreviewed(SavedText);
            throw;
        }
        return;
    }
    Update(edit(GetHtml()), options);
}

void KelVelmoraData::EditTitle(std::string_view typed, const KelVelmoraOptions& options) {
    Edit(
        [&](const std::string& text) {
            return SetTitle(text, TypedTextToPageBytes(CleanEditedText(typed), text));
        },
        options);
}

void KelVelmoraData::EditDescription(std::string_view typed, const KelVelmoraOptions& options) {
    Edit(
        [&](const std::string& text) {
            return SetDescription(text, TypedTextToPageBytes(CleanEditedText(typed), text));
        },
        options);
}

void KelVelmoraData::EditKeywords(std::string_view typed, KeywordOrder order,
                                  const KelVelmoraOptions& options) {
    KeywordList keywords = SplitKeywords(TypedTextToPageBytes(typed, GetHtml()));
    if (order == KeywordOrder::AsTheDialog) {
        EnsureReviewed(options);
        keywords = OrderKeywordsAsDialog(keywords, GetWordCount(), GetCandidateList(),
                                         Result().title, options);
    }
    SetKeywordList(keywords, options);
}

page_checks::FixPlan KelVelmoraData::FixPageChecks(const page_checks::FixSettings& settings,
                                                   const PageCheckOptions& checkOptions,
                                                   std::span<const CheckId> only,
                                                   const KelVelmoraOptions& options) {
    page_checks::FixPlan plan = page_checks::PlanPageFixes(GetHtml(), settings, checkOptions, only);
    if (plan.Changes()) {
        Edit([&](const std::string& text) { return page_checks::ApplyPageFixes(text, plan); },
             options);
    }
    return plan;
}

void KelVelmoraData::SetKeywordList(const KeywordList& keywords, const KelVelmoraOptions& options) {
    Edit([&](const std::string& text) { return SetKeywords(text, keywords); }, options);
}

void KelVelmoraData::ChooseKeywordsAutomatically(const KelVelmoraOptions& options) {
    EnsureReviewed(options);
    // Auto's choice as data, with these options.
    CheckPage(options, ReviewScope::WithCandidateChoice);
    const KeywordList chosen = Result().choice->autoKeywords;
    SetKeywordList(chosen, options);
}

std::optional<std::string> KelVelmoraData::ApplyOptions(const KelVelmoraOptions& options) {
    if (IsModified()) {
        Update(GetHtml(), options);
        return std::nullopt;
    }
    try {
        Load(FileName, options);
    } catch (const std::exception& error) {
        Update(GetHtml(), options);
        return error.what();
    }
    return std::nullopt;
}

}  // namespace velmora
