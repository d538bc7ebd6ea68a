#include "ui/app/AppStyle.h"

#include <QPainter>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionSlider>

#include "ui/paint/Theme.h"

namespace orvane {
namespace {
constexpr int kExtent = 11;
constexpr int kSliderMin = 36;
}  // namespace

AppStyle::AppStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int AppStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                          const QWidget* widget) const {
    switch (metric) {
        case PM_ScrollBarExtent:
            return kExtent;
        case PM_ScrollBarSliderMin:
            return kSliderMin;
        case PM_SplitterWidth:
            return 1;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int AppStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                        QStyleHintReturn* returnData) const {
    if (hint == SH_ScrollBar_ContextMenu) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QRect AppStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                               SubControl sub, const QWidget* widget) const {
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar)
        return QProxyStyle::subControlRect(control, option, sub, widget);

    // No arrow buttons: the groove is the whole bar and the slider moves along all of it.
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const QRect r = bar->rect;
    const int length = horizontal ? r.width() : r.height();
    const int range = bar->maximum - bar->minimum;
    int sliderLen = length;
    if (range > 0) {
        const qint64 total = qint64(range) + bar->pageStep;
        sliderLen = total > 0 ? static_cast<int>(qint64(length) * bar->pageStep / total) : length;
        sliderLen = std::clamp(sliderLen, std::min(kSliderMin, length), length);
    }
    const int start = QStyle::sliderPositionFromValue(
        bar->minimum, bar->maximum, bar->sliderPosition, length - sliderLen, bar->upsideDown);
    auto span = [&](int from, int len) {
        return horizontal ? QRect(r.left() + from, r.top(), len, r.height())
                          : QRect(r.left(), r.top() + from, r.width(), len);
    };
    switch (sub) {
        case SC_ScrollBarGroove:
            return r;
        case SC_ScrollBarSlider:
            return span(start, sliderLen);
        case SC_ScrollBarSubPage:
            return span(0, start);
        case SC_ScrollBarAddPage:
            return span(start + sliderLen, length - start - sliderLen);
        case SC_ScrollBarSubLine:
        case SC_ScrollBarAddLine:
        case SC_ScrollBarFirst:
        case SC_ScrollBarLast:
            return {};
        default:
            return QProxyStyle::subControlRect(control, option, sub, widget);
    }
}

void AppStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                  QPainter* painter, const QWidget* widget) const {
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    if (bar->maximum <= bar->minimum) return;
    const QRect slider = subControlRect(control, option, SC_ScrollBarSlider, widget);
    const bool horizontal = bar->orientation == Qt::Horizontal;
    // A thin rounded thumb inset from the edges.
    const QRectF thumb =
        horizontal ? QRectF(slider).adjusted(3, 3, -3, -2) : QRectF(slider).adjusted(3, 3, -2, -3);
    const bool active =
        (bar->activeSubControls & SC_ScrollBarSlider) || (bar->state & State_Sunken);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(Theme::primary(active ? 0.45 : 0.26));
    const qreal radius = std::min(thumb.width(), thumb.height()) / 2;
    painter->drawRoundedRect(thumb, radius, radius);
    painter->restore();
}

void AppStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                           const QWidget* widget) const {
    if (element == CE_Splitter) {
        painter->fillRect(option->rect, Theme::separator());
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void AppStyle::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    // Hover feedback on the thumb.
    if (qobject_cast<QScrollBar*>(widget)) widget->setAttribute(Qt::WA_Hover);
}

}  // namespace orvane
