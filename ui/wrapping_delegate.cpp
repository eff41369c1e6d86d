#include "ui/wrapping_delegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <QTreeView>
#include <algorithm>

namespace velmora {

TWrappingDelegate::TWrappingDelegate(QTreeView& view) : QStyledItemDelegate(&view), view_(view) {
    // A wider or narrower column changes every wrapped row's height.
    connect(view.header(), &QHeaderView::sectionResized, &view, [&view] { view.doItemsLayout(); });
}

QSize TWrappingDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    if (item.text.isEmpty()) {
        return size;
    }
    const QStyle* style = view_.style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &item, &view_) + 1;
    int width = view_.columnWidth(index.column()) - 2 * margin;
    if (index.column() == 0) {
        // The first column also holds the branch indentation and the icon.
        int depth = 0;
        for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent()) {
            ++depth;
        }
        width -= view_.indentation() * (depth + 1) + item.decorationSize.width();
    }
    const QRect needed = item.fontMetrics.boundingRect(QRect(0, 0, std::max(width, 20), 100000),
                                                       Qt::TextWordWrap, item.text);
    size.setHeight(std::max(size.height(), needed.height() + 2 * margin));
    return size;
}

}  // namespace velmora
