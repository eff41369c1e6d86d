#pragma once

// Rows of a tree that grow to hold their wrapped texts: a tree view asks for row heights as if
// each column were unbounded, which would cut long sentences off with "…".

#include <QStyledItemDelegate>

class QTreeView;

namespace velmora {

class TWrappingDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit TWrappingDelegate(QTreeView& view);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QTreeView& view_;
};

}  // namespace velmora
