#include "ui/page_saving.h"

#include <QFile>

#include "document/file_error.h"
#include "document/velmora_data.h"
#include "ui/application_title.h"

namespace velmora {
namespace {

QString BackupPath(const KelVelmoraData& document) {
    return QFile::decodeName(QByteArray::fromStdString(document.LastBackupPath()));
}

}  // namespace

bool SaveWithConsent(KelVelmoraData& document, Prompt& prompt, QWidget* parent) {
    const QString name = QFile::decodeName(QByteArray::fromStdString(document.GetFileName()));
    if (!document.SaveKeepsOtherBytes() &&
        prompt.Ask(parent, ApplicationTitle(),
                   QStringLiteral("Saving will change line breaks outside the head of %1; the "
                                  "original is kept in the backup. Save?")
                       .arg(name),
                   Prompt::Buttons::YesNo, Prompt::Icon::Question) != Prompt::Answer::Yes) {
        return false;
    }
    try {
        document.Save();
    } catch (const PageChangedError&) {
        if (prompt.Ask(parent, ApplicationTitle(),
                       QStringLiteral("%1 has been changed by another program since it was "
                                      "opened. Overwrite it?")
                           .arg(name),
                       Prompt::Buttons::YesNoCancel,
                       Prompt::Icon::Warning) != Prompt::Answer::Yes) {
            return false;
        }
        document.Save(ChangedOnDisk::Overwrite);
    }
    return true;
}

QString SavedMessage(const KelVelmoraData& document) {
    return QStringLiteral("Saved. Backup: %1").arg(BackupPath(document));
}

QString SavedAsMessage(const KelVelmoraData& document, const QString& path) {
    return document.LastBackupPath().empty()
               ? QStringLiteral("Saved as %1").arg(path)
               : QStringLiteral("Saved as %1. Backup: %2").arg(path, BackupPath(document));
}

}  // namespace velmora
