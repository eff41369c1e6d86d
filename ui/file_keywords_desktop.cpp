// The file window's links to the desktop: the page in the web browser, the last backup in the
// status bar and its folder in the file manager.

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "document/velmora_data.h"
#include "ui/application_title.h"
#include "ui/file_commands.h"
#include "ui/file_keywords.h"

namespace velmora {

void TKeywordsForm::OpenOnDesktop(const QUrl& url, const QString& failure) {
    if (!openUrl_(url)) {
        prompt_.Ask(this, ApplicationTitle(), failure, Prompt::Buttons::Ok, Prompt::Icon::Warning);
    }
}

void TKeywordsForm::ToolButtonViewClick() {
    Guarded([this] {
        OpenOnDesktop(
            QUrl::fromLocalFile(DocumentFileName()),
            QStringLiteral("Could not open '%1' in the web browser.").arg(DocumentFileName()));
    });
}

void TKeywordsForm::ShowBackup() {
    const QString backup = QFile::decodeName(QByteArray::fromStdString(Document->LastBackupPath()));
    commands_->SetBackupEnabled(!backup.isEmpty());
    if (Control != nullptr && !backup.isEmpty()) {
        Control->ShowBackup(backup);
    }
}

void TKeywordsForm::menuOpenBackupFolderClick() {
    Guarded([this] {
        const QString folder =
            QFileInfo(QFile::decodeName(QByteArray::fromStdString(Document->LastBackupPath())))
                .absolutePath();
        OpenOnDesktop(QUrl::fromLocalFile(folder),
                      QStringLiteral("Could not open the backup folder '%1'.").arg(folder));
    });
}

}  // namespace velmora
