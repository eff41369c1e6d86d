#include "ui/fix_settings_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "options/kel_registry.h"
#include "ui/fix_value_dialog.h"
#include "ui/fix_values.h"

namespace velmora {
namespace {

QString Shown(const std::optional<std::string>& value) {
    return value ? QString::fromStdString(*value) : QString();
}

std::optional<std::string> FieldValue(const QLineEdit& field) {
    const QString value = field.text().trimmed();
    return value.isEmpty() ? std::nullopt : std::optional(value.toStdString());
}

QLineEdit* MakeField(QWidget* parent, const char* name, const QString& accessibleName,
                     const QString& placeholder) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setAccessibleName(accessibleName);
    field->setPlaceholderText(placeholder);
    field->setClearButtonEnabled(true);
    return field;
}

}  // namespace

TFixSettingsDialog::TFixSettingsDialog(QWidget* parent)
    : QDialog(parent),
      Address(MakeField(this, "FixAddress", QStringLiteral("Web address of the site's folder"),
                        QStringLiteral("https://www.example.com/"))),
      Language(
          MakeField(this, "FixLanguage", QStringLiteral("Language tag"), QStringLiteral("en-GB"))),
      Image(MakeField(this, "FixImage", QStringLiteral("Image address"),
                      QStringLiteral("https://www.example.com/card.png"))),
      Forget(new QPushButton(QStringLiteral("&Forget"), this)),
      folder_(new QLabel(this)),
      note_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this)) {
    setObjectName("FixSettingsDialog");
    setWindowTitle(QStringLiteral("Fix Settings"));
    folder_->setObjectName("FixSettingsFolder");
    folder_->setWordWrap(true);
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    note_->setObjectName("FixSettingsNote");
    note_->setWordWrap(true);
    Forget->setObjectName("ForgetFixSettings");
    Forget->setAccessibleName(QStringLiteral("Forget the values remembered for this folder"));
    Forget->setToolTip(QStringLiteral(
        "Forget every value remembered for this folder; the Fix buttons ask again."));
    Forget->setAutoDefault(false);
    buttons_->addButton(Forget, QDialogButtonBox::DestructiveRole);
    connect(Forget, &QPushButton::clicked, this, [this] { done(Forgotten); });
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Web &address of the folder:"), Address);
    form->addRow(QStringLiteral("&Language of its pages:"), Language);
    form->addRow(QStringLiteral("Sharing &image:"), Image);
    for (QLineEdit* field : {Address, Language, Image}) {
        connect(field, &QLineEdit::textChanged, this, &TFixSettingsDialog::Validate);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folder_);
    layout->addLayout(form);
    layout->addWidget(note_);
    layout->addWidget(buttons_);
    setMinimumWidth(fontMetrics().averageCharWidth() * 70);
    Validate();
}

void TFixSettingsDialog::Prime(const SiteFixValues& values) {
    folderPath_ = values.folder;
    folder_->setText(
        QStringLiteral("Remembered for the pages in %1 and the folders below it. An empty field "
                       "is asked for when a fix needs it.")
            .arg(QString::fromStdString(values.folder)));
    Address->setText(Shown(values.address));
    Language->setText(Shown(values.lang));
    Image->setText(Shown(values.ogImage));
    Validate();
}

SiteFixValues TFixSettingsDialog::Edited() const {
    return {folderPath_, FieldValue(*Address), FieldValue(*Language), FieldValue(*Image)};
}

// Each value must be one the ask-once dialog would take, so a fix can use it as it is.
void TFixSettingsDialog::Validate() {
    QString refusal;
    const std::array<std::pair<FixValue, QLineEdit*>, 3> fields = {
        {{FixValue::Address, Address}, {FixValue::Language, Language}, {FixValue::Image, Image}}};
    for (const auto& [kind, field] : fields) {
        const QString typed = field->text().trimmed();
        const QString reason = typed.isEmpty() ? QString() : FixValueRefusal(kind, typed);
        field->setToolTip(reason);
        if (refusal.isEmpty() && !reason.isEmpty()) {
            refusal = reason;
            note_->setBuddy(field);
        }
    }
    note_->setText(refusal);
    note_->setVisible(!refusal.isEmpty());
    buttons_->button(QDialogButtonBox::Save)->setEnabled(refusal.isEmpty());
}

std::optional<QString> EditFixSettings(const std::string& pageFile, QWidget* parent) {
    const QString pageFolder = PageFolderOf(pageFile);
    SiteFixSettings store;
    SiteFixValues values = store.Load(pageFolder.toStdString());
    if (values.folder.empty()) {
        values.folder = pageFolder.toStdString();
    }
    TFixSettingsDialog dialog(parent);
    dialog.Prime(values);
    const int outcome = dialog.exec();
    try {
        if (outcome == TFixSettingsDialog::Kept) {
            store.Replace(dialog.Edited());
        } else if (outcome == TFixSettingsDialog::Forgotten) {
            store.Forget(values.folder);
        }
    } catch (const SettingsError& error) {
        return QString::fromUtf8(error.what());
    }
    return std::nullopt;
}

}  // namespace velmora
