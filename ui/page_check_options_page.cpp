#include "ui/page_check_options_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>

#include "ui/check_presentation.h"
#include "ui/mnemonic_keys.h"

namespace velmora {
namespace {

// In the order of PageCheckNumbers().
constexpr std::array<const char*, 8> kNumberLabels = {
    "Title, &fewest characters:",     "Title, &most characters:",
    "Title, &widest in pixels:",      "Descri&ption, fewest characters:",
    "Description, most c&haracters:", "Description, widest in pi&xels:",
    "Content, fewest w&ords:",        "Content, words for &good:",
};

constexpr int kSwitchColumns = 2;

}  // namespace

TPageCheckOptionsPage::TPageCheckOptionsPage(const QSet<QChar>& dialogKeys, QWidget* parent)
    : QWidget(parent),
      ResetButton(new QPushButton(QStringLiteral("&Reset"), this)),
      DefaultButton(new QPushButton(QStringLiteral("&Defaults"), this)) {
    setObjectName("PageChecksTabSheet");
    auto* limits = new QGroupBox(QStringLiteral("Limits"), this);
    auto* limitGrid = new QGridLayout(limits);
    limitGrid->setColumnStretch(0, 1);
    const auto numbers = PageCheckNumbers();
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        auto* field = new QSpinBox(limits);
        field->setRange(numbers[i].minimum, numbers[i].maximum);
        field->setObjectName(QString::fromUtf8(numbers[i].name.data(),
                                               static_cast<qsizetype>(numbers[i].name.size())));
        auto* label = new QLabel(QString::fromUtf8(kNumberLabels.at(i)), limits);
        label->setBuddy(field);
        field->setAccessibleName(label->text().remove(QLatin1Char('&')).chopped(1));
        field->setToolTip(
            QStringLiteral("From %1 to %2.").arg(numbers[i].minimum).arg(numbers[i].maximum));
        limitGrid->addWidget(label, static_cast<int>(i), 0);
        limitGrid->addWidget(field, static_cast<int>(i), 1);
        Numbers.append(field);
    }

    // More switches than letters: those left without a key are reached with Tab.
    QSet<QChar> taken = MnemonicsIn(*this) | dialogKeys;
    auto* checks = new QGroupBox(QStringLiteral("Checks to run"), this);
    auto* switchGrid = new QGridLayout(checks);
    for (std::size_t i = 0; i < kCheckCount; ++i) {
        auto* box = new QCheckBox(
            WithFreeMnemonic(CheckDisplayName(static_cast<CheckId>(i)), taken), checks);
        const int index = static_cast<int>(i);
        switchGrid->addWidget(box, index / kSwitchColumns, index % kSwitchColumns);
        Switches.append(box);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ResetButton);
    buttons->addStretch(1);
    buttons->addWidget(DefaultButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(limits);
    layout->addWidget(checks);
    layout->addLayout(buttons);
    layout->addStretch(1);

    connect(ResetButton, &QPushButton::clicked, this, &TPageCheckOptionsPage::ResetButtonClick);
    connect(DefaultButton, &QPushButton::clicked, this, &TPageCheckOptionsPage::DefaultButtonClick);
}

void TPageCheckOptionsPage::Prime(const PageCheckOptions& options) {
    primed_ = options;
    Show(options);
}

PageCheckOptions TPageCheckOptionsPage::Edited() const {
    PageCheckOptions options = primed_;
    const auto numbers = PageCheckNumbers();
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        options.*(numbers[i].field) = Numbers.at(static_cast<qsizetype>(i))->value();
    }
    for (std::size_t i = 0; i < kCheckCount; ++i) {
        options.SetEnabled(static_cast<CheckId>(i),
                           Switches.at(static_cast<qsizetype>(i))->isChecked());
    }
    OrderLimitPairs(options);
    return options;
}

void TPageCheckOptionsPage::ResetButtonClick() {
    Show(primed_);
}

void TPageCheckOptionsPage::DefaultButtonClick() {
    PageCheckOptions defaults;
    defaults.FocusKeyphrase = primed_.FocusKeyphrase;
    Show(defaults);
}

void TPageCheckOptionsPage::Show(const PageCheckOptions& options) {
    const auto numbers = PageCheckNumbers();
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        Numbers.at(static_cast<qsizetype>(i))->setValue(options.*(numbers[i].field));
    }
    for (std::size_t i = 0; i < kCheckCount; ++i) {
        Switches.at(static_cast<qsizetype>(i))
            ->setChecked(options.Enabled(static_cast<CheckId>(i)));
    }
}

}  // namespace velmora
