// The widget style: Fusion with thin rounded overlay-like scroll bars on a clear track and a
// hairline splitter, in the colours of the current scheme. A style instead of a style sheet,
// so the windows' palettes keep propagating to every widget.
#pragma once

#include <QProxyStyle>

namespace orvane {

class AppStyle : public QProxyStyle {
    Q_OBJECT
  public:
    AppStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    void polish(QWidget* widget) override;
    using QProxyStyle::polish;
};

}  // namespace orvane
