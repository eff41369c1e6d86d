#pragma once

// The options record that loads itself from the stored settings and saves on request.

#include <memory>

#include "options/kel_registry.h"
#include "options/velmora_types.h"

namespace velmora {

class KelSaveableVelmoraOptions : public KelVelmoraOptions {
public:
    // The defaults; the stored settings are read only by LoadFromRegistry.
    KelSaveableVelmoraOptions();
    ~KelSaveableVelmoraOptions() override;

    KelSaveableVelmoraOptions(const KelSaveableVelmoraOptions&) = delete;
    KelSaveableVelmoraOptions& operator=(const KelSaveableVelmoraOptions&) = delete;

    void LoadFromRegistry();
    // Throws SettingsError when the store refuses the write.
    void SaveToRegistry();

private:
    std::unique_ptr<TKelRegistry> Registry;
};

}  // namespace velmora
