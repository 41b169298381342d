#pragma once

#include <functional>
#include <map>
#include <memory>

namespace platform {

// What changed on a form or a control. For list changes, index names the line.
enum class Change {
    Caption,
    ToolTip,
    Visible,
    Enabled,
    Geometry,
    Font,
    Colors,
    Picture,
    Pointer,
    Value,
    Focus,
    ItemInserted,
    ItemRemoved,
    Layer,
};

struct ChangeEvent {
    Change what;
    int index = -1;
};

using ChangeListener = std::function<void(const ChangeEvent&)>;

namespace detail {
struct ListenerTable {
    int next_id = 0;
    std::map<int, ChangeListener> listeners;
};
}  // namespace detail

// Keeps a listener registered for as long as it lives. Either side may go
// first: a subscription that outlives its notifier does nothing when it ends.
class Subscription {
  public:
    Subscription() = default;
    Subscription(std::weak_ptr<detail::ListenerTable> table, int id);
    Subscription(Subscription&& other) noexcept;
    Subscription& operator=(Subscription&& other) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription();

  private:
    void reset();

    std::weak_ptr<detail::ListenerTable> table_;
    int id_ = -1;
};

// Tells registered listeners about changes, in the order they registered.
class Notifier {
  public:
    Notifier() : table_(std::make_shared<detail::ListenerTable>()) {}
    Notifier(const Notifier&) = delete;
    Notifier& operator=(const Notifier&) = delete;

    [[nodiscard]] Subscription subscribe(ChangeListener listener);
    void notify(const ChangeEvent& event) const;

  private:
    std::shared_ptr<detail::ListenerTable> table_;
};

}  // namespace platform
