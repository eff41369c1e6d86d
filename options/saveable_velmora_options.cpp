#include "options/saveable_velmora_options.h"

#include "options/option_rules.h"

namespace velmora {
namespace {

const QString kMinimumKeywordCount = QStringLiteral("MinimumKeywordCount");
const QString kMaximumKeywordCount = QStringLiteral("MaximumKeywordCount");
const QString kKeywordOneInEvery = QStringLiteral("KeywordOneInEvery");
const QString kMinimumRecommendedTags = QStringLiteral("MinimumRecommendedTags");
const QString kMaximumRecommendedTags = QStringLiteral("MaximumRecommendedTags");
const QString kKeywordCase = QStringLiteral("KeywordCase");
const QString kCompressionDisabled = QStringLiteral("CompressionDisabled");
const QString kNoWarnBeforeCompressing = QStringLiteral("NoWarnBeforeCompressing");
const QString kKeywordCountBeforeSpamming = QStringLiteral("KeywordCountBeforeSpamming");

// A stored count below the range (or missing, which reads as 0) takes the default.
std::int32_t CountOr(std::int32_t value, std::int32_t fallback) {
    return value < kCountRange.minimum ? fallback : value;
}

}  // namespace

KelSaveableVelmoraOptions::KelSaveableVelmoraOptions()
    : Registry(std::make_unique<TKelRegistry>(kVelmoraSettingsPath)) {}

KelSaveableVelmoraOptions::~KelSaveableVelmoraOptions() = default;

void KelSaveableVelmoraOptions::LoadFromRegistry() {
    const KelVelmoraOptions defaults;
    MinimumKeywordCount =
        CountOr(Registry->ReadInteger(kMinimumKeywordCount), defaults.MinimumKeywordCount);
    MaximumKeywordCount =
        CountOr(Registry->ReadInteger(kMaximumKeywordCount), defaults.MaximumKeywordCount);
    KeywordOneInEvery = kOneInEveryRange.Clamp(
        CountOr(Registry->ReadInteger(kKeywordOneInEvery), defaults.KeywordOneInEvery));
    MinimumRecommendedTags =
        CountOr(Registry->ReadInteger(kMinimumRecommendedTags), defaults.MinimumRecommendedTags);
    MaximumRecommendedTags =
        CountOr(Registry->ReadInteger(kMaximumRecommendedTags), defaults.MaximumRecommendedTags);
    LimitMinimaToMaxima(*this);
    const auto keywordCase =
        static_cast<KeywordCaseMode>(Registry->ReadInteger(kKeywordCase) & 0xFF);
    KeywordCase = keywordCase == KeywordCaseMode{0} ? defaults.KeywordCase : keywordCase;
    KeywordCountBeforeSpamming = CountOr(Registry->ReadInteger(kKeywordCountBeforeSpamming),
                                         defaults.KeywordCountBeforeSpamming);
    CompressionEnabled = Registry->ReadInteger(kCompressionDisabled) == 0;
    WarnBeforeCompressing = Registry->ReadInteger(kNoWarnBeforeCompressing) == 0;
}

void KelSaveableVelmoraOptions::SaveToRegistry() {
    Registry->WriteInteger(kMinimumKeywordCount, MinimumKeywordCount);
    Registry->WriteInteger(kMaximumKeywordCount, MaximumKeywordCount);
    Registry->WriteInteger(kKeywordOneInEvery, KeywordOneInEvery);
    Registry->WriteInteger(kMinimumRecommendedTags, MinimumRecommendedTags);
    Registry->WriteInteger(kMaximumRecommendedTags, MaximumRecommendedTags);
    Registry->WriteInteger(kKeywordCase, static_cast<int>(KeywordCase));
    Registry->WriteInteger(kCompressionDisabled, CompressionEnabled ? 0 : 1);
    Registry->WriteInteger(kNoWarnBeforeCompressing, WarnBeforeCompressing ? 0 : 1);
    Registry->WriteInteger(kKeywordCountBeforeSpamming, KeywordCountBeforeSpamming);
    Registry->Flush(kMinimumKeywordCount);
}

}  // namespace velmora
