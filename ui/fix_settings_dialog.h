#pragma once

// Fix Settings: the values the Fix buttons remembered for the open page's site (the folder's web
// address, the pages' language and the sharing image), to change with the checks the ask-once
// dialog makes, or to forget. An empty field is not remembered.

#include <QDialog>
#include <QString>
#include <optional>
#include <string>

#include "options/site_fix_settings.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class TFixSettingsDialog : public QDialog {
    Q_OBJECT

public:
    // What the user chose: keep the edited values, or forget the folder's.
    enum Outcome { Kept = QDialog::Accepted, Forgotten = QDialog::Accepted + 1 };

    explicit TFixSettingsDialog(QWidget* parent = nullptr);

    // Shows the values remembered for `values.folder`.
    void Prime(const SiteFixValues& values);
    // The values as edited, for the same folder.
    SiteFixValues Edited() const;

    QLineEdit* Address;
    QLineEdit* Language;
    QLineEdit* Image;
    QPushButton* Forget;

private:
    void Validate();

    QLabel* folder_;
    QLabel* note_;
    QDialogButtonBox* buttons_;
    std::string folderPath_;
};

// Shows the values remembered for the site of the page file `pageFile`, and keeps or forgets
// them as the user chooses. Returns why the store refused, if it did.
std::optional<QString> EditFixSettings(const std::string& pageFile, QWidget* parent);

}  // namespace velmora
