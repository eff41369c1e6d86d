#pragma once

// The address part of a search result as result pages show it today: the site's name and a
// grey breadcrumb, from the page's canonical URL, else from the "Site address" setting and the
// page's file name; never from a local path.

#include <QString>

namespace velmora {

struct ResultAddress {
    QString siteName;    // "bakery.example"; a note when no address is known
    QString breadcrumb;  // "https://bakery.example › bread › rye"
    QChar initial;       // the letter on the round site icon
};

// `canonical` is the page's canonical href (may be empty or relative), `siteAddress` the stored
// setting (may be empty), `fileName` the page's path, of which only the file name is shown.
ResultAddress AddressOfResult(const QString& canonical, const QString& siteAddress,
                              const QString& fileName);

// The "Site address" setting, kept with the settings (group "Preview").
class TSiteAddress {
public:
    static QString Load();
    // Throws SettingsError when the store refuses it.
    static void Save(const QString& address);
};

}  // namespace velmora
