#include "platform/qt/list_box_view.h"

#include <QListWidget>
#include <algorithm>

#include "platform/qt/conversions.h"
#include "platform/qt/plain_line_delegate.h"

namespace platform::qt {

ListBoxView::ListBoxView(platform::ListBox& list, QWidget& parent)
    : ListBoxView(list, *new QListWidget(&parent)) {}

ListBoxView::ListBoxView(platform::ListBox& list, QListWidget& widget)
    : ControlView(list, widget),
      list_(list),
      widget_(widget),
      catching_up_(catch_up_interval, [this] { catch_up(); }) {
    // Long lines are cut at the right edge rather than scrolled to.
    widget_.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    widget_.setTextElideMode(Qt::ElideNone);
    widget_.setSelectionMode(QAbstractItemView::SingleSelection);
    widget_.setUniformItemSizes(true);
    widget_.setItemDelegate(new PlainLineDelegate(&widget_));
    for (const auto& item : list_.items()) {
        widget_.addItem(to_qstring(item));
    }
}

void ListBoxView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    if (event.what != platform::Change::ItemInserted &&
        event.what != platform::Change::ItemRemoved) {
        return;
    }
    if (!catching_up_.due()) {
        current_ = widget_.currentRow();
        current_in_widget_ = current_;
        const QListWidgetItem* item = widget_.currentItem();
        current_selected_ = item != nullptr && item->isSelected();
        catching_up_.request();
    }
    follow_current(event);
}

void ListBoxView::follow_current(const platform::ChangeEvent& event) {
    if (current_ < 0) {
        return;
    }
    if (event.what == platform::Change::ItemInserted && event.index <= current_) {
        ++current_;
    } else if (event.what == platform::Change::ItemRemoved) {
        if (event.index == current_) {
            current_ = -1;
        } else if (event.index < current_) {
            --current_;
        }
    }
}

void ListBoxView::catch_up() {
    // A line the user picked meanwhile, among those the widget showed, stays
    // picked by its row.
    const int picked = widget_.currentRow();
    const bool user_picked = picked != current_in_widget_;
    // The rows are reused, so the widget keeps its scroll position.
    const auto& items = list_.items();
    const int count = static_cast<int>(items.size());
    while (widget_.count() > count) {
        delete widget_.takeItem(widget_.count() - 1);
    }
    for (int row = 0; row < count; ++row) {
        const QString text = to_qstring(items[static_cast<std::size_t>(row)]);
        if (row < widget_.count()) {
            QListWidgetItem* item = widget_.item(row);
            if (item->text() != text) {
                item->setText(text);
            }
        } else {
            widget_.addItem(text);
        }
    }
    // Laid out now rather than by the view's own timer, which would come
    // after the window has drawn the new lines and have it draw them again.
    widget_.doItemsLayout();
    if (user_picked) {
        widget_.setCurrentRow(std::min(picked, count - 1), QItemSelectionModel::ClearAndSelect);
    } else if (current_ < 0) {
        widget_.setCurrentRow(-1, QItemSelectionModel::Clear);
    } else {
        widget_.setCurrentRow(current_, current_selected_ ? QItemSelectionModel::ClearAndSelect
                                                          : QItemSelectionModel::Clear);
    }
}

}  // namespace platform::qt
