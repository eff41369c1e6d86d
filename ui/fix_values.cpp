#include "ui/fix_values.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <vector>

#include "document/velmora_data.h"
#include "options/kel_registry.h"
#include "options/site_fix_settings.h"

namespace velmora {
namespace {

FixValue ValueNeededBy(CheckId id) {
    switch (id) {
        case CheckId::Language:
            return FixValue::Language;
        case CheckId::Canonical:
            return FixValue::Address;
        default:
            return FixValue::Image;
    }
}

std::optional<std::string>& FieldOf(SiteFixValues& values, FixValue kind) {
    switch (kind) {
        case FixValue::Language:
            return values.lang;
        case FixValue::Address:
            return values.address;
        case FixValue::Image:
            break;
    }
    return values.ogImage;
}

page_checks::FixSettings SettingsOf(const std::string& file, const QString& path,
                                    const SiteFixValues& site) {
    page_checks::FixSettings settings{file, site.lang, site.ogImage, std::nullopt};
    if (site.address) {
        const QString below = QDir(QString::fromStdString(site.folder)).relativeFilePath(path);
        settings.pageUrl = page_checks::PageUrl(*site.address, below.toStdString());
    }
    return settings;
}

// The values remembered for the page's site, with the folder where new ones are kept: the
// site's, else the page's own.
SiteFixValues RememberedFor(SiteFixSettings& store, const QString& pageFolder) {
    SiteFixValues site = store.Load(pageFolder.toStdString());
    // A value edited by hand in the settings file serves only when it would be taken typed.
    for (const FixValue kind : {FixValue::Address, FixValue::Language, FixValue::Image}) {
        std::optional<std::string>& value = FieldOf(site, kind);
        if (value && !FixValueRefusal(kind, QString::fromStdString(*value)).isEmpty()) {
            value.reset();
        }
    }
    if (site.folder.empty()) {
        site.folder = pageFolder.toStdString();
    }
    return site;
}

QString PagePathOf(const std::string& pageFile) {
    const QFileInfo page(QFile::decodeName(QByteArray::fromStdString(pageFile)));
    return page.canonicalFilePath().isEmpty() ? page.absoluteFilePath() : page.canonicalFilePath();
}

}  // namespace

QString PageFolderOf(const std::string& pageFile) {
    return QFileInfo(PagePathOf(pageFile)).absolutePath();
}

std::optional<GatheredFixSettings> GatherFixSettings(const KelVelmoraData& document,
                                                     std::span<const CheckId> only,
                                                     QWidget* parent) {
    const QString path = PagePathOf(document.GetFileName());
    const QString pageFolder = QFileInfo(path).absolutePath();
    SiteFixSettings store;
    SiteFixValues site = RememberedFor(store, pageFolder);
    const page_checks::FixPlan plan = page_checks::PlanPageFixes(
        document.GetHtml(), SettingsOf(document.GetFileName(), path, site), document.CheckOptions(),
        only);
    SiteFixValues remembered{site.folder, {}, {}, {}};
    std::vector<FixValue> asked;
    for (const page_checks::UnfixedCheck& unfixed : plan.unfixed) {
        const FixValue kind = ValueNeededBy(unfixed.id);
        if (!unfixed.needsSetting || std::find(asked.begin(), asked.end(), kind) != asked.end()) {
            continue;
        }
        asked.push_back(kind);
        const std::optional<FixValueAnswer> answer =
            AskFixValue(parent, kind, QString::fromStdString(site.folder));
        if (!answer) {
            return std::nullopt;
        }
        FieldOf(site, kind) = answer->value;
        if (answer->remember) {
            FieldOf(remembered, kind) = answer->value;
        }
    }
    GatheredFixSettings gathered{SettingsOf(document.GetFileName(), path, site), {}};
    if (remembered.address || remembered.lang || remembered.ogImage) {
        try {
            store.Save(remembered);
        } catch (const SettingsError& error) {
            gathered.storeRefusal = QString::fromUtf8(error.what());
        }
    }
    return gathered;
}

}  // namespace velmora
