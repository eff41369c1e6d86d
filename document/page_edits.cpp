// The head edits of the page document, shared by the desktop program and velmora-cli.

#include "analysis/keyword_choice.h"
#include "core/edited_text.h"
#include "core/html_functions_read.h"
#include "core/html_functions_write.h"
#include "core/page_encoding.h"
#include "document/velmora_data.h"

namespace velmora {

void KelVelmoraData::EditTitle(std::string_view typed, const KelVelmoraOptions& options) {
    Update(SetTitle(Html, TypedTextToPageBytes(CleanEditedText(typed), Html)), options);
}

void KelVelmoraData::EditDescription(std::string_view typed, const KelVelmoraOptions& options) {
    Update(SetDescription(Html, TypedTextToPageBytes(CleanEditedText(typed), Html)), options);
}

void KelVelmoraData::EditKeywords(std::string_view typed, KeywordOrder order,
                                  const KelVelmoraOptions& options) {
    KeywordList keywords = SplitKeywords(TypedTextToPageBytes(typed, Html));
    if (order == KeywordOrder::AsTheDialog) {
        EnsureReviewed(options);
        keywords = OrderKeywordsAsDialog(keywords, GetWordCount(), GetCandidateList(),
                                         GetTitle(Html), options);
    }
    SetKeywordList(keywords, options);
}

void KelVelmoraData::SetKeywordList(const KeywordList& keywords, const KelVelmoraOptions& options) {
    Update(SetKeywords(Html, keywords), options);
}

void KelVelmoraData::ChooseKeywordsAutomatically(const KelVelmoraOptions& options) {
    EnsureReviewed(options);
    SetKeywordList(
        AutoKeywords(Keywords, GetWordCount(), GetCandidateList(), GetTitle(Html), options),
        options);
}

std::optional<std::string> KelVelmoraData::ApplyOptions(const KelVelmoraOptions& options) {
    if (IsModified()) {
        Update(Html, options);
        return std::nullopt;
    }
    try {
        Load(FileName, options);
    } catch (const std::exception& error) {
        Update(Html, options);
        return error.what();
    }
    return std::nullopt;
}

}  // namespace velmora
