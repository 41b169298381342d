#include "platform/forms/list_box.h"

#include "platform/failure.h"
#include "platform/forms/text_box.h"

namespace platform {

namespace {
void check_index(const std::string& name, int index, int limit) {
    if (index < 0 || index > limit) {
        throw Failure("list " + name + " has no index " + std::to_string(index));
    }
}
}  // namespace

const std::string& ListBox::item(int index) const {
    check_index(name(), index, count() - 1);
    return items_[static_cast<std::size_t>(index)];
}

void ListBox::insert(int index, const std::string& text) {
    check_index(name(), index, count());
    items_.insert(items_.begin() + index, text);
    changed(Change::ItemInserted, index);
}

void ListBox::remove(int index) {
    check_index(name(), index, count() - 1);
    items_.erase(items_.begin() + index);
    changed(Change::ItemRemoved, index);
}

void ComboBox::insert(int index, const std::string& text) {
    check_index(name(), index, static_cast<int>(items_.size()));
    items_.insert(items_.begin() + index, text);
    changed(Change::ItemInserted, index);
}

}  // namespace platform
