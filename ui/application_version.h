#pragma once

// The program's version, set by the build (VELMORA_VERSION_TEXT, VELMORA_BUILD_NUMBER).

#include <QString>
#include <cstdint>
#include <string_view>

namespace velmora {

struct ApplicationVersion {
    std::uint16_t Major = 0;
    std::uint16_t Minor = 0;
    std::uint16_t Release = 0;
    std::uint16_t Build = 0;
};

// The four numbers from a version text such as "2.0.1" and a build number such as "31". A part
// that is missing or not a number from 0 to 65535 stays 0.
ApplicationVersion ParseApplicationVersion(std::string_view versionText,
                                           std::string_view buildNumber);
// The numbers of this build.
ApplicationVersion GetApplicationVersion();

// The product version text of this build; "?" when the build set none.
QString ProductVersionText();

// "Version: 2.0 - Build 31"
QString VersionLine(const QString& versionText, unsigned build);

}  // namespace velmora
