#include "ui/advice_dialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/screen_fit.h"

namespace velmora {

TAdviceDialog::TAdviceDialog(QWidget* parent)
    : QDialog(parent),
      Lines(new QListWidget(this)),
      CloseButton(new QPushButton(QStringLiteral("&Close"), this)) {
    setObjectName("AdviceDialog");
    setWindowTitle(QStringLiteral("Advice"));
    Lines->setObjectName("AdviceLines");
    Lines->setAccessibleName(QStringLiteral("Advice"));
    Lines->setWordWrap(true);
    Lines->setTextElideMode(Qt::ElideNone);
    Lines->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Lines->setResizeMode(QListView::Adjust);
    CloseButton->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Lines, 1);
    layout->addLayout(buttons);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    FitToScreen(*this, QSize(Lines->fontMetrics().averageCharWidth() * 70,
                             Lines->fontMetrics().lineSpacing() * 16));
}

void TAdviceDialog::SetAdvice(const QStringList& lines) {
    Lines->clear();
    Lines->addItems(lines);
    if (Lines->count() > 0) {
        Lines->setCurrentRow(0);
    }
    Lines->setFocus();
}

}  // namespace velmora
