#include "platform/forms/notifier.h"

#include <utility>
#include <vector>

namespace platform {

Subscription::Subscription(std::weak_ptr<detail::ListenerTable> table, int id)
    : table_(std::move(table)), id_(id) {}

Subscription::Subscription(Subscription&& other) noexcept
    : table_(std::move(other.table_)), id_(std::exchange(other.id_, -1)) {}

Subscription& Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        table_ = std::move(other.table_);
        id_ = std::exchange(other.id_, -1);
    }
    return *this;
}

Subscription::~Subscription() {
    reset();
}

void Subscription::reset() {
    if (auto table = table_.lock()) {
        table->listeners.erase(id_);
    }
    table_.reset();
    id_ = -1;
}

Subscription Notifier::subscribe(ChangeListener listener) {
    const int id = table_->next_id++;
    table_->listeners.emplace(id, std::move(listener));
    return Subscription(table_, id);
}

void Notifier::notify(const ChangeEvent& event) const {
    // A listener may subscribe or unsubscribe while being told; work on a copy
    // so that the table can change under us.
    std::vector<ChangeListener> listeners;
    listeners.reserve(table_->listeners.size());
    for (const auto& [id, listener] : table_->listeners) {
        listeners.push_back(listener);
    }
    for (const auto& listener : listeners) {
        listener(event);
    }
}

}  // namespace platform
