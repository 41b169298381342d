#include "platform/qt/list_box_view.h"

#include <QFontMetricsF>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <algorithm>

#include "platform/qt/conversions.h"

namespace platform::qt {

namespace {

// Rows as high as the font's line spacing and no more: the style's item
// margins would leave the status log room for two lines fewer than it keeps.
// No width is asked for, so every row is as wide as the list and a long line
// is cut at its edge; measuring the text would cost the busy status log a
// text layout each time it changes.
class LineSpacedRows : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {0, std::max(1, static_cast<int>(QFontMetricsF(option.font).lineSpacing()))};
    }
};

}  // namespace

ListBoxView::ListBoxView(platform::ListBox& list, QWidget& parent)
    : ListBoxView(list, *new QListWidget(&parent)) {}

ListBoxView::ListBoxView(platform::ListBox& list, QListWidget& widget)
    : ControlView(list, widget), list_(list), widget_(widget) {
    // Long lines are cut at the right edge rather than scrolled to.
    widget_.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    widget_.setTextElideMode(Qt::ElideNone);
    widget_.setSelectionMode(QAbstractItemView::SingleSelection);
    widget_.setUniformItemSizes(true);
    widget_.setItemDelegate(new LineSpacedRows(&widget_));
    for (const auto& item : list_.items()) {
        widget_.addItem(to_qstring(item));
    }
}

void ListBoxView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    switch (event.what) {
        case platform::Change::ItemInserted:
            widget_.insertItem(event.index, to_qstring(list_.item(event.index)));
            break;
        case platform::Change::ItemRemoved:
            delete widget_.takeItem(event.index);
            break;
        default:
            break;
    }
}

}  // namespace platform::qt
