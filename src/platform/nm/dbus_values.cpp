#include "platform/nm/dbus_values.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QList>

namespace platform::nm::values {

std::string text(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) {
        return value.value<QDBusObjectPath>().path().toStdString();
    }
    if (value.metaType() == QMetaType::fromType<QString>()) {
        return value.toString().toStdString();
    }
    return {};
}

std::vector<std::string> paths(const QVariant& value) {
    std::vector<std::string> result;
    QList<QDBusObjectPath> list;
    if (value.metaType() == QMetaType::fromType<QList<QDBusObjectPath>>()) {
        list = value.value<QList<QDBusObjectPath>>();
    } else if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
        const auto argument = value.value<QDBusArgument>();
        if (argument.currentSignature() != QLatin1String("ao")) {
            return result;
        }
        argument >> list;
    }
    for (const QDBusObjectPath& path : list) {
        result.push_back(path.path().toStdString());
    }
    return result;
}

std::uint32_t number(const QVariant& value) {
    bool ok = false;
    const qulonglong n = value.toULongLong(&ok);
    return ok ? static_cast<std::uint32_t>(n) : 0;
}

std::string bytes(const QVariant& value) {
    if (value.metaType() != QMetaType::fromType<QByteArray>()) {
        return {};
    }
    return value.toByteArray().toStdString();
}

std::optional<std::uint32_t> quality(const QVariant& value) {
    if (value.metaType() != QMetaType::fromType<QDBusArgument>()) {
        return std::nullopt;
    }
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("(ub)")) {
        return std::nullopt;
    }
    uint percent = 0;
    bool recent = false;
    argument.beginStructure();
    argument >> percent >> recent;
    argument.endStructure();
    return percent;
}

}  // namespace platform::nm::values
