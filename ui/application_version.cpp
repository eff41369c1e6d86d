#include "ui/application_version.h"

#include <charconv>

#ifndef VELMORA_VERSION_TEXT
#define VELMORA_VERSION_TEXT ""
#endif
#ifndef VELMORA_BUILD_NUMBER
#define VELMORA_BUILD_NUMBER ""
#endif

namespace velmora {
namespace {

constexpr std::string_view kVersionText = VELMORA_VERSION_TEXT;
constexpr std::string_view kBuildNumber = VELMORA_BUILD_NUMBER;

// A whole number from 0 to 65535, else 0.
std::uint16_t VersionNumber(std::string_view text) {
    std::uint16_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return 0;
    }
    return value;
}

// Takes the next dot-separated part off text.
std::string_view TakePart(std::string_view& text) {
    const auto dot = text.find('.');
    const std::string_view part = text.substr(0, dot);
    text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    return part;
}

}  // namespace

ApplicationVersion ParseApplicationVersion(std::string_view versionText,
                                           std::string_view buildNumber) {
    ApplicationVersion version;
    version.Major = VersionNumber(TakePart(versionText));
    version.Minor = VersionNumber(TakePart(versionText));
    version.Release = VersionNumber(TakePart(versionText));
    version.Build = VersionNumber(buildNumber);
    return version;
}

ApplicationVersion GetApplicationVersion() {
    return ParseApplicationVersion(kVersionText, kBuildNumber);
}

QString ProductVersionText() {
    if (kVersionText.empty()) {
        return QStringLiteral("?");
    }
    return QString::fromUtf8(kVersionText.data(), static_cast<qsizetype>(kVersionText.size()));
}

QString VersionLine(const QString& versionText, unsigned build) {
    return QStringLiteral("Version: %1 - Build %2").arg(versionText).arg(build);
}

}  // namespace velmora
