#include "ui/app/MotionPreference.h"

#include <QSettings>
#include <QVariant>

#include "ui/paint/Theme.h"

#if defined(Q_OS_LINUX)
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#endif

namespace orvane::MotionPreference {

std::optional<bool> stored() {
    const QVariant v = QSettings().value(QLatin1String(kSettingKey));
    if (!v.isValid()) return std::nullopt;
    const QString text = v.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1")) return true;
    if (text == QLatin1String("false") || text == QLatin1String("0")) return false;
    return std::nullopt;
}

#if !defined(Q_OS_MACOS)
std::optional<bool> systemNow() {
    return std::nullopt;
}
#endif

void apply(QObject* context) {
    if (const std::optional<bool> choice = stored()) {
        Theme::setReduceMotion(*choice);
        return;
    }
    Theme::setReduceMotion(systemNow().value_or(false));
#if defined(Q_OS_LINUX)
    // The desktop's animation switch through the settings portal, without blocking the start:
    // no portal, no answer or an answer of another type leaves the motion as it is.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("Read"));
    call << QStringLiteral("org.gnome.desktop.interface") << QStringLiteral("enable-animations");
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 2000), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [](QDBusPendingCallWatcher* w) {
                         w->deleteLater();
                         const QDBusPendingReply<QDBusVariant> reply = *w;
                         if (reply.isError() || stored()) return;
                         // The portal wraps the value in one more variant.
                         QVariant v = reply.value().variant();
                         if (v.canConvert<QDBusVariant>()) v = v.value<QDBusVariant>().variant();
                         if (v.typeId() == QMetaType::Bool) Theme::setReduceMotion(!v.toBool());
                     });
#else
    (void)context;
#endif
}

}  // namespace orvane::MotionPreference
