#include "platform/nm/bus_calls.h"

#include <QDBusArgument>
#include <QDBusPendingCallWatcher>
#include <algorithm>
#include <utility>

#include "platform/nm/dbus_names.h"

namespace platform::nm {

BusCalls::BusCalls(QDBusConnection connection) : connection_(std::move(connection)) {}

BusCalls::~BusCalls() {
    // The watchers die with owner_; their callbacks must not run after this.
    pending_.clear();
}

void BusCalls::send(const QDBusMessage& call, int timeout_ms, OnReply on_reply, OnError on_error) {
    auto* watcher = new QDBusPendingCallWatcher(connection_.asyncCall(call, timeout_ms), &owner_);
    pending_.push_back(Pending{watcher, std::move(on_reply), std::move(on_error)});
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &owner_,
                     [this, watcher] { finish(watcher); });
}

void BusCalls::get_all(const QString& service, const QString& path, const QString& interface,
                       std::function<void(const QVariantMap&)> on_reply, OnError on_error) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, names::properties, "GetAll");
    call << interface;
    send(
        call, read_timeout_ms,
        [on_reply = std::move(on_reply)](const QDBusMessage& reply) {
            on_reply(qdbus_cast<QVariantMap>(reply.arguments().value(0)));
        },
        std::move(on_error));
}

void BusCalls::settle() {
    while (!pending_.empty()) {
        QDBusPendingCallWatcher* watcher = pending_.front().watcher;
        watcher->waitForFinished();
        // Qt usually delivers `finished` inside waitForFinished; where it
        // has not, the reply is handled here, and only once.
        finish(watcher);
    }
}

void BusCalls::finish(QDBusPendingCallWatcher* watcher) {
    const auto found = std::find_if(pending_.begin(), pending_.end(),
                                    [watcher](const Pending& p) { return p.watcher == watcher; });
    if (found == pending_.end()) {
        return;
    }
    Pending done = std::move(*found);
    pending_.erase(found);
    watcher->deleteLater();
    const QDBusMessage reply = watcher->reply();
    if (reply.type() == QDBusMessage::ErrorMessage) {
        done.on_error(QDBusError(reply));
    } else {
        done.on_reply(reply);
    }
}

}  // namespace platform::nm
