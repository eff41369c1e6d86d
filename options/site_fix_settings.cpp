#include "options/site_fix_settings.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <array>
#include <utility>

#include "options/kel_registry.h"

namespace velmora {
namespace {

const QString kGroup = QStringLiteral("SiteFixes");
const QString kAddress = QStringLiteral("Address");
const QString kLang = QStringLiteral("Lang");
const QString kOgImage = QStringLiteral("OgImage");

// Settings keys treat "/" and "\" as group separators; the escaped path keeps one group per
// folder.
QString FolderKey(std::string_view folder) {
    const QByteArray bytes(folder.data(), static_cast<qsizetype>(folder.size()));
    return kGroup + QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(bytes));
}

std::string_view WithoutTrailingSlash(std::string_view folder) {
    while (folder.size() > 1 && folder.ends_with('/')) {
        folder.remove_suffix(1);
    }
    return folder;
}

// "/a/b" → "/a" → "/" → nothing.
std::optional<std::string_view> ParentFolder(std::string_view folder) {
    const std::size_t slash = folder.find_last_of('/');
    if (folder.size() <= 1 || slash == std::string_view::npos) {
        return std::nullopt;
    }
    return folder.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

SiteFixSettings::SiteFixSettings()
    : registry_(std::make_unique<TKelRegistry>(kVelmoraSettingsPath)) {}

SiteFixSettings::~SiteFixSettings() = default;

SiteFixValues SiteFixSettings::Load(std::string_view pageFolder) {
    for (std::optional<std::string_view> folder = WithoutTrailingSlash(pageFolder);
         folder && !folder->empty(); folder = ParentFolder(*folder)) {
        const QString key = FolderKey(*folder);
        SiteFixValues values{std::string(*folder), {}, {}, {}};
        const std::array<std::pair<const QString*, std::optional<std::string>*>, 3> fields = {
            {{&kAddress, &values.address}, {&kLang, &values.lang}, {&kOgImage, &values.ogImage}}};
        bool found = false;
        for (const auto& [name, value] : fields) {
            const QString stored = registry_->ReadString(key, *name);
            if (!stored.isEmpty()) {
                *value = stored.toStdString();
                found = true;
            }
        }
        if (found) {
            return values;
        }
    }
    return {};
}

void SiteFixSettings::Save(const SiteFixValues& values) {
    Write(values, false);
}

void SiteFixSettings::Replace(const SiteFixValues& values) {
    Write(values, true);
}

void SiteFixSettings::Write(const SiteFixValues& values, bool forgetAbsent) {
    const QString key = FolderKey(WithoutTrailingSlash(values.folder));
    const std::array<std::pair<const QString*, const std::optional<std::string>*>, 3> fields = {
        {{&kAddress, &values.address}, {&kLang, &values.lang}, {&kOgImage, &values.ogImage}}};
    for (const auto& [name, value] : fields) {
        if (*value) {
            registry_->WriteString(key, *name, QString::fromStdString(**value));
        } else if (forgetAbsent) {
            registry_->DeleteValue(key, *name);
        }
    }
    registry_->Flush(key);
}

}  // namespace velmora
