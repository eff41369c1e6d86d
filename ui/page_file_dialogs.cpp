#include "ui/page_file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

#include "ui/application_title.h"

namespace velmora {

QString RunOpenFileDialog(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("Open File to Tune"), folder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog matches the filters ignoring letter case, so INDEX.HTM is offered too.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Pages of every kind by default; "All files" for pages with other endings.
    QStringList filters = PageFileFilters();
    const QString pages = filters.constLast();
    filters.append(QStringLiteral("All files (*)"));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(pages);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

QString RunSaveAsDialog(QWidget* parent, const QString& path) {
    QFileDialog dialog(parent, QStringLiteral("Save Page As"), path);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList filters = PageFileFilters();
    filters.append(QStringLiteral("All files (*)"));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.at(filters.size() - 2));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace velmora
