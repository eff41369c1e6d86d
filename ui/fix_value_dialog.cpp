#include "ui/fix_value_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "page_checks/language_tags.h"

namespace velmora {
namespace {

struct Wording {
    const char* title;
    const char* label;
    const char* placeholder;
    const char* accessibleName;
};

Wording WordingOf(FixValue kind) {
    switch (kind) {
        case FixValue::Address:
            return {"Web Address of the Page's Folder",
                    "The &web address of the folder that holds this page, for its canonical "
                    "link and og:url:",
                    "https://www.example.com/", "Web address of the page's folder"};
        case FixValue::Language:
            return {"Language of the Page", "The page's &language, as a language tag:", "en-GB",
                    "Language tag"};
        case FixValue::Image:
            return {"Image for Sharing", "The &address of the image shown when the page is shared:",
                    "https://www.example.com/card.png", "Image address"};
    }
    return {};
}

QString UrlRefusal(const QString& typed, bool folder) {
    const QUrl url(typed, QUrl::StrictMode);
    if (!url.isValid() || typed.contains(QLatin1Char(' '))) {
        return QStringLiteral("This is not a valid web address.");
    }
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")) {
        return QStringLiteral("The address must start with http:// or https://.");
    }
    if (url.host().isEmpty()) {
        return QStringLiteral("The address names no site.");
    }
    if (folder && (url.hasQuery() || url.hasFragment())) {
        return QStringLiteral("A folder's address has no ? or # part.");
    }
    return {};
}

QString LanguageRefusal(const QString& typed) {
    const page_checks::LanguageTag tag = page_checks::ReadLanguageTag(typed.toStdString());
    if (!tag.wellFormed) {
        return QStringLiteral("This is not a language tag, such as en, de or pt-BR.");
    }
    // The language check would still ask for a fix of a tag it does not know.
    if (!tag.knownLanguage) {
        return QStringLiteral("This language is not known.");
    }
    return {};
}

}  // namespace

QString FixValueRefusal(FixValue kind, const QString& typed) {
    if (typed.isEmpty()) {
        return QStringLiteral("Type a value, or Cancel to leave the page as it is.");
    }
    switch (kind) {
        case FixValue::Address:
            return UrlRefusal(typed, true);
        case FixValue::Image:
            return UrlRefusal(typed, false);
        case FixValue::Language:
            return LanguageRefusal(typed);
    }
    return {};
}

TFixValueDialog::TFixValueDialog(FixValue kind, const QString& siteFolder, QWidget* parent)
    : QDialog(parent),
      Value(new QLineEdit(this)),
      Remember(new QCheckBox(QStringLiteral("&Remember for this site"), this)),
      kind_(kind),
      note_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    const Wording wording = WordingOf(kind);
    setObjectName("FixValueDialog");
    setWindowTitle(QString::fromUtf8(wording.title));
    auto* label = new QLabel(QString::fromUtf8(wording.label), this);
    label->setWordWrap(true);
    label->setBuddy(Value);
    Value->setObjectName("FixValue");
    Value->setAccessibleName(QString::fromUtf8(wording.accessibleName));
    Value->setPlaceholderText(QString::fromUtf8(wording.placeholder));
    note_->setObjectName("FixValueNote");
    note_->setWordWrap(true);
    Remember->setObjectName("RememberForSite");
    Remember->setToolTip(
        QStringLiteral("Use it for every page in %1 and the folders below it.").arg(siteFolder));
    connect(Value, &QLineEdit::textChanged, this, &TFixValueDialog::Validate);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(Value);
    layout->addWidget(note_);
    layout->addWidget(Remember);
    layout->addWidget(buttons_);
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    Validate();
}

void TFixValueDialog::Validate() {
    const QString refusal = FixValueRefusal(kind_, Value->text().trimmed());
    note_->setText(refusal);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(refusal.isEmpty());
}

FixValueAnswer TFixValueDialog::Answer() const {
    return {Value->text().trimmed().toStdString(), Remember->isChecked()};
}

std::optional<FixValueAnswer> AskFixValue(QWidget* parent, FixValue kind,
                                          const QString& siteFolder) {
    TFixValueDialog dialog(kind, siteFolder, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Answer();
}

}  // namespace velmora
