#include "options/page_check_settings.h"

#include <QString>

namespace velmora {
namespace {

const QString kPageChecksGroup = QStringLiteral("PageChecks");

QString Name(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

PageCheckSettings::PageCheckSettings()
    : registry_(std::make_unique<TKelRegistry>(kVelmoraSettingsPath)) {}

PageCheckSettings::~PageCheckSettings() = default;

PageCheckOptions PageCheckSettings::Load() {
    PageCheckOptions options;
    const PageCheckOptions defaults;
    for (const PageCheckNumber& number : PageCheckNumbers()) {
        // Missing and unreadable values read as 0, which lies outside every range.
        const std::int32_t stored = registry_->ReadInteger(kPageChecksGroup, Name(number.name), 0);
        options.*number.field = number.Accepts(stored) ? stored : defaults.*number.field;
    }
    OrderLimitPairs(options);
    for (std::size_t i = 0; i < kCheckCount; ++i) {
        const auto id = static_cast<CheckId>(i);
        options.SetEnabled(
            id, registry_->ReadInteger(kPageChecksGroup, Name(CheckSwitchName(id)), 0) == 0);
    }
    return options;
}

void PageCheckSettings::Save(const PageCheckOptions& options) {
    for (const PageCheckNumber& number : PageCheckNumbers()) {
        registry_->WriteInteger(kPageChecksGroup, Name(number.name), options.*number.field);
    }
    for (std::size_t i = 0; i < kCheckCount; ++i) {
        const auto id = static_cast<CheckId>(i);
        registry_->WriteInteger(kPageChecksGroup, Name(CheckSwitchName(id)),
                                options.Enabled(id) ? 0 : 1);
    }
    registry_->Flush(kPageChecksGroup + QLatin1Char('/') + Name(PageCheckNumbers().front().name));
}

}  // namespace velmora
