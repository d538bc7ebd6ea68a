#include "ui/app/AppearanceController.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QSettings>
#include <QStyleHints>
#include <QToolTip>
#include <QWidget>

#include "ui/paint/Theme.h"

namespace orvane {

AppearanceController::AppearanceController(QObject* parent) : QObject(parent) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, this,
            [this] { apply(); });
#endif
    apply();
}

QString AppearanceController::stored() const {
    return QSettings().value(QLatin1String(kAppearanceKey), QStringLiteral("system")).toString();
}

void AppearanceController::store(const QString& raw) {
    QSettings().setValue(QLatin1String(kAppearanceKey), raw);
    emit choiceStored(raw);
    apply();
}

void AppearanceController::setOverride(std::optional<ColorScheme> scheme) {
    override_ = scheme;
    apply();
}

ColorScheme AppearanceController::systemScheme() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    switch (QGuiApplication::styleHints()->colorScheme()) {
        case Qt::ColorScheme::Dark:
            return ColorScheme::dark;
        case Qt::ColorScheme::Light:
            return ColorScheme::light;
        default:
            break;
    }
#endif
    // The application palette is the platform's: the windows get ours, the application never.
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128
               ? ColorScheme::dark
               : ColorScheme::light;
}

void AppearanceController::style(QWidget* window) {
    if (!windows_.contains(window)) {
        windows_.removeAll(nullptr);
        windows_.append(window);
        window->installEventFilter(this);
    }
    window->setPalette(Theme::palette(Theme::isDark()));
    window->update();
}

bool AppearanceController::eventFilter(QObject*, QEvent* event) {
    // The system's scheme may have changed; "Auto" follows it.
    if (event->type() == QEvent::ThemeChange || event->type() == QEvent::ApplicationPaletteChange)
        apply();
    return false;
}

void AppearanceController::apply() {
    const QString raw = stored();
    const ColorScheme scheme = override_ ? *override_ : resolvedScheme(raw, systemScheme());
    if (applied_ && scheme == scheme_) return;
    applied_ = true;
    scheme_ = scheme;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Title bars and native menus follow the application's scheme: forced for Light and Dark,
    // handed back to the system for Auto (and for screenshots, which draw only our widgets).
    const std::optional<ColorScheme> chosen = colorScheme(appearanceFromStored(raw));
    if (override_ || !chosen) {
        QGuiApplication::styleHints()->unsetColorScheme();
    } else {
        QGuiApplication::styleHints()->setColorScheme(
            *chosen == ColorScheme::dark ? Qt::ColorScheme::Dark : Qt::ColorScheme::Light);
    }
#endif
    Theme::setDark(scheme == ColorScheme::dark);
    QToolTip::setPalette(Theme::palette(Theme::isDark()));
    for (const QPointer<QWidget>& w : windows_) {
        if (!w) continue;
        w->setPalette(Theme::palette(Theme::isDark()));
        w->update();
    }
    emit schemeChanged(scheme);
}

}  // namespace orvane
