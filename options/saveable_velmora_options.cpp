#include "options/saveable_velmora_options.h"

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

std::int32_t PositiveOr(std::int32_t value, std::int32_t fallback) {
    return value <= 0 ? fallback : value;
}

}  // namespace

KelSaveableVelmoraOptions::KelSaveableVelmoraOptions()
    : Registry(std::make_unique<TKelRegistry>(QStringLiteral("\\SOFTWARE\\Kelgard\\HtmlVelmora"))) {
    LoadFromRegistry();
}

KelSaveableVelmoraOptions::~KelSaveableVelmoraOptions() = default;

void KelSaveableVelmoraOptions::LoadFromRegistry() {
    MinimumKeywordCount = PositiveOr(Registry->ReadInteger(kMinimumKeywordCount), 2);
    MaximumKeywordCount = PositiveOr(Registry->ReadInteger(kMaximumKeywordCount), 10);
    KeywordOneInEvery = PositiveOr(Registry->ReadInteger(kKeywordOneInEvery), 10);
    if (KeywordOneInEvery > 100) {
        KeywordOneInEvery = 100;
    }
    if (MaximumKeywordCount < MinimumKeywordCount) {
        MinimumKeywordCount = MaximumKeywordCount;
    }
    MinimumRecommendedTags = PositiveOr(Registry->ReadInteger(kMinimumRecommendedTags), 2);
    MaximumRecommendedTags = PositiveOr(Registry->ReadInteger(kMaximumRecommendedTags), 20);
    if (MaximumRecommendedTags < MinimumRecommendedTags) {
        MinimumRecommendedTags = MaximumRecommendedTags;
    }
    const auto keywordCase = static_cast<std::uint8_t>(Registry->ReadInteger(kKeywordCase) & 0xFF);
    KeywordCase = keywordCase == 0 ? CaseInsensitiveMixed : keywordCase;
    KeywordCountBeforeSpamming = PositiveOr(Registry->ReadInteger(kKeywordCountBeforeSpamming), 3);
    CompressionEnabled = Registry->ReadInteger(kCompressionDisabled) == 0;
    WarnBeforeCompressing = Registry->ReadInteger(kNoWarnBeforeCompressing) == 0;
}

void KelSaveableVelmoraOptions::SaveToRegistry() {
    Registry->WriteInteger(kMinimumKeywordCount, MinimumKeywordCount);
    Registry->WriteInteger(kMaximumKeywordCount, MaximumKeywordCount);
    Registry->WriteInteger(kKeywordOneInEvery, KeywordOneInEvery);
    Registry->WriteInteger(kMinimumRecommendedTags, MinimumRecommendedTags);
    Registry->WriteInteger(kMaximumRecommendedTags, MaximumRecommendedTags);
    Registry->WriteInteger(kKeywordCase, KeywordCase);
    Registry->WriteInteger(kCompressionDisabled, CompressionEnabled ? 0 : 1);
    Registry->WriteInteger(kNoWarnBeforeCompressing, WarnBeforeCompressing ? 0 : 1);
    Registry->WriteInteger(kKeywordCountBeforeSpamming, KeywordCountBeforeSpamming);
    Registry->Flush(kMinimumKeywordCount);
}

}  // namespace velmora
