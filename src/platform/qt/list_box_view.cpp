#include "platform/qt/list_box_view.h"

#include <QListWidget>

#include "platform/qt/conversions.h"

namespace platform::qt {

ListBoxView::ListBoxView(platform::ListBox& list, QWidget& parent)
    : ListBoxView(list, *new QListWidget(&parent)) {}

ListBoxView::ListBoxView(platform::ListBox& list, QListWidget& widget)
    : ControlView(list, widget), list_(list), widget_(widget) {
    // Long lines are cut at the right edge rather than scrolled to.
    widget_.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    widget_.setTextElideMode(Qt::ElideNone);
    widget_.setSelectionMode(QAbstractItemView::SingleSelection);
    widget_.setUniformItemSizes(true);
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
