#include "ui/check_fixes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

#include "ui/check_presentation.h"

namespace velmora {

TCheckFixes::TCheckFixes(int column, QWidget& window)
    : QObject(&window),
      FixAll(new QPushButton(QStringLiteral("F&ix All"), &window)),
      Note(new QLabel(&window)),
      column_(column) {
    FixAll->setObjectName("FixAllButton");
    FixAll->setToolTip(
        QStringLiteral("Fix every check that has a Fix button, as one change of the page that "
                       "Abandon Changes takes back."));
    Note->setObjectName("FixNote");
    Note->setAccessibleName(QStringLiteral("Result of the last fix"));
    Note->setWordWrap(true);
    Note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Note->hide();
    connect(FixAll, &QPushButton::clicked, this, [this] { emit FixRequested({}); });
}

void TCheckFixes::Take(page_checks::FixPlan plan) {
    plan_ = std::move(plan);
    lastButton_ = nullptr;
    Note->clear();
    Note->hide();
    FixAll->setEnabled(false);
}

void TCheckFixes::Offer(QTreeWidgetItem& row, const page_checks::CheckResult& check) {
    if (!page_checks::AsksForFix(check)) {
        return;
    }
    const bool fixed =
        std::any_of(plan_.fixes.begin(), plan_.fixes.end(),
                    [&](const page_checks::PlannedFix& fix) { return fix.id == check.id; });
    QStringList left;
    bool needsValue = false;
    for (const page_checks::UnfixedCheck& unfixed : plan_.unfixed) {
        if (unfixed.id == check.id && unfixed.needsSetting) {
            needsValue = true;
        } else if (unfixed.id == check.id) {
            left.append(QString::fromStdString(unfixed.reason));
        }
    }
    if (!left.isEmpty()) {
        row.setToolTip(column_, QStringLiteral("Not fixed by Fix: %1.").arg(left.join("; ")));
    }
    if (fixed || needsValue) {
        AddButton(row, check.id, needsValue);
    }
}

void TCheckFixes::AddButton(QTreeWidgetItem& row, CheckId id, bool needsValue) {
    const QString name = CheckDisplayName(id);
    // The button keeps its own height in the middle of a row that wraps to several lines.
    auto* cell = new QWidget;
    auto* button = new QPushButton(QStringLiteral("Fix"), cell);
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(button, 0, Qt::AlignCenter);
    button->setObjectName(QStringLiteral("FixButton_%1").arg(static_cast<int>(id)));
    button->setAccessibleName(QStringLiteral("Fix %1").arg(name));
    button->setToolTip(needsValue ? QStringLiteral("Fix %1; asks first for what the page cannot "
                                                   "tell.")
                                        .arg(name)
                                  : QStringLiteral("Fix %1 in the page.").arg(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, id] { emit FixRequested({id}); });
    row.treeWidget()->setItemWidget(&row, column_, cell);
    QWidget::setTabOrder(
        lastButton_ != nullptr ? static_cast<QWidget*>(lastButton_.data()) : row.treeWidget(),
        button);
    lastButton_ = button;
    FixAll->setEnabled(true);
}

void TCheckFixes::ShowResult(const page_checks::FixPlan& plan) {
    Note->setText(FixResultText(plan));
    Note->show();
}

QString FixResultText(const page_checks::FixPlan& plan) {
    QStringList fixed;
    for (const page_checks::PlannedFix& fix : plan.fixes) {
        fixed.append(CheckDisplayName(fix.id));
    }
    QStringList left;
    for (const page_checks::UnfixedCheck& unfixed : plan.unfixed) {
        left.append(QStringLiteral("%1 (%2)").arg(CheckDisplayName(unfixed.id),
                                                  QString::fromStdString(unfixed.reason)));
    }
    QStringList parts;
    if (!fixed.isEmpty()) {
        parts.append(QStringLiteral("Fixed: %1.").arg(fixed.join(", ")));
    }
    if (!left.isEmpty()) {
        parts.append(QStringLiteral("Not fixed: %1.").arg(left.join("; ")));
    }
    return parts.isEmpty() ? QStringLiteral("Nothing to fix.") : parts.join(' ');
}

}  // namespace velmora
