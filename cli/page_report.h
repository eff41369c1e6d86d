#pragma once

// Everything the analyze command reports about one page, with every text in UTF-8.

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/file_check_list.h"
#include "analysis/review_result.h"
#include "cli/suppressions.h"
#include "document/velmora_data.h"
#include "options/velmora_types.h"
#include "page_checks/page_checks.h"
#include "site_checks/site_page.h"

namespace velmora::cli {

struct KeywordDetail {
    std::string keyword;
    std::int32_t occurrences = 0;
    bool good = false;
    bool duplicate = false;
    std::int32_t score = 0;
};

struct GoodCandidate {
    std::string text;
    std::int32_t occurrences = 0;
    bool isKeyword = false;
};

struct PageReport {
    std::string file;
    std::string encoding;  // "utf-8" or "windows-1252"
    std::string title;
    std::string description;
    std::string keywordsText;
    std::vector<std::string> keywords;
    std::int32_t goodKeywords = 0;
    std::int32_t badKeywords = 0;
    bool optimalOrder = true;
    bool duplicateKeywords = false;
    std::string spammedWord;
    bool lineBreakInDescription = false;
    std::int32_t spaceToRemove = 0;
    std::int32_t wordCount = 0;
    float rating = 0.0f;
    std::string ratingText;
    std::vector<Finding> findings;  // the advice lines in UTF-8
    std::vector<KeywordDetail> keywordDetails;
    std::vector<GoodCandidate> goodCandidates;
    std::vector<std::string> autoKeywords;
    // Every byte of the page is ASCII, which the readable report names us-ascii.
    bool asciiOnly = false;
    // The line break the page file uses, which the readable report shows in texts.
    std::string lineBreak = "\r\n";
    page_checks::PageCheckReport checks;
    // Its links, canonical, alternates and refresh target placed in the site.
    site_checks::PageSite site;
    // The page's suppression comments, and the results they and the baseline left out.
    Suppressions suppressions;
    std::size_t suppressed = 0;
    std::size_t baselined = 0;
    // How much of the report the run's filter has seen (ApplyResultFilter).
    bool findingsFiltered = false;
    std::size_t filteredChecks = 0;
};

// The loaded page's review in UTF-8; the good candidates and Auto's choice when the review
// derived them.
PageReport BuildPageReport(const std::string& file, const KelVelmoraData& document);

}  // namespace velmora::cli
