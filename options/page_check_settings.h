#pragma once

// The page-check settings in the stored settings, group "PageChecks", beside the keyword
// settings: eight numbers and one switch per check.

#include <memory>

#include "options/kel_registry.h"
#include "options/page_check_options.h"

namespace velmora {

class PageCheckSettings {
public:
    PageCheckSettings();
    ~PageCheckSettings();

    PageCheckSettings(const PageCheckSettings&) = delete;
    PageCheckSettings& operator=(const PageCheckSettings&) = delete;

    // A number that is missing, not a whole number or out of its range reads as its default;
    // a missing switch means the check is on. The focus keyphrase is not stored.
    PageCheckOptions Load();
    // Throws SettingsError when the store refuses the write.
    void Save(const PageCheckOptions& options);

private:
    std::unique_ptr<TKelRegistry> registry_;
};

}  // namespace velmora
