#pragma once

// What the page fixes need and a page cannot tell, remembered per site in the stored settings
// (group "SiteFixes"): the web address of the site's folder, the pages' language and the image
// shown when a page is shared. A site is the folder the values were remembered for; every page
// in it or below it shares them.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

class TKelRegistry;

struct SiteFixValues {
    // The site's folder: an absolute path with "/" separators; empty when nothing is remembered.
    std::string folder;
    std::optional<std::string> address;  // the folder's web address, "https://example.org/"
    std::optional<std::string> lang;     // "en-GB"
    std::optional<std::string> ogImage;  // "https://example.org/card.png"

    bool operator==(const SiteFixValues&) const = default;
};

class SiteFixSettings {
public:
    SiteFixSettings();
    ~SiteFixSettings();

    SiteFixSettings(const SiteFixSettings&) = delete;
    SiteFixSettings& operator=(const SiteFixSettings&) = delete;

    // The values remembered for the nearest folder that holds `pageFolder` (itself included);
    // nothing, with an empty folder, when no such folder has any.
    SiteFixValues Load(std::string_view pageFolder);
    // Remembers the values given for `values.folder`; an absent value leaves the stored one.
    // Throws SettingsError when the store refuses the write.
    void Save(const SiteFixValues& values);
    // Remembers exactly these values for `values.folder`: an absent value is forgotten there.
    // Throws SettingsError when the store refuses the write.
    void Replace(const SiteFixValues& values);
    // Forgets every value remembered for `folder`; the folders above it keep theirs.
    void Forget(std::string_view folder) { Replace({std::string(folder), {}, {}, {}}); }

private:
    void Write(const SiteFixValues& values, bool forgetAbsent);

    std::unique_ptr<TKelRegistry> registry_;
};

}  // namespace velmora
