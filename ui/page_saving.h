#pragma once

// Saving the page with the user's consent where a save would surprise, and the status line
// that tells where the backup went.

#include <QString>

#include "ui/prompt.h"

class QWidget;

namespace velmora {

class KelVelmoraData;

// Saves, asking first when the save would change bytes outside the head or overwrite a file
// changed by another program; false when the user said no. Throws when the save fails.
bool SaveWithConsent(KelVelmoraData& document, Prompt& prompt, QWidget* parent);

// "Saved. Backup: …" after a save.
QString SavedMessage(const KelVelmoraData& document);
// "Saved as …", with the backup of a file that was replaced.
QString SavedAsMessage(const KelVelmoraData& document, const QString& path);

}  // namespace velmora
