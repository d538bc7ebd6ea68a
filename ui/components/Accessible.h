// What assistive technology (AT-SPI on Linux, VoiceOver on a Mac) learns about our painted
// widgets through Qt's accessibility interfaces. Each component registers the interface of its
// own kind (copyable values are buttons named "Label: value" that copy when pressed, gauges and
// bars expose their value in percent, texts are static text); this file knows none of them and
// provides what several share: the value interface, the items of the sidebar and the
// appearance picker, and roles declared by class info.
#pragma once

#include <QAccessible>
#include <QRect>
#include <QString>

class QWidget;

namespace orvane {

// A widget that paints several choosable items (the sidebar's pages, the picker's segments).
class AccessibleItems {
  public:
    virtual ~AccessibleItems() = default;
    // ListItem (the parent is then a list) or RadioButton (the parent a group of them).
    virtual QAccessible::Role accessibleItemRole() const = 0;
    virtual int accessibleItemCount() const = 0;
    virtual QString accessibleItemName(int index) const = 0;
    // In the widget's coordinates.
    virtual QRect accessibleItemRect(int index) const = 0;
    // The selected or checked item; -1 for none.
    virtual int accessibleCurrentItem() const = 0;
    virtual void activateAccessibleItem(int index) = 0;
};

namespace Accessible {

// The interface of `widget` if it is of the factory's kind; nothing otherwise.
using Factory = QAccessibleInterface* (*)(QWidget* widget);
// What something attached to any widget says (a click-to-copy value) comes before what the
// widget itself is (a text, a gauge).
enum class Precedence { attached, widget };

// Installs our factory with Qt (once; every component that has an interface calls this).
void install();
// Adds a component's factory (a factory added again is kept once) and installs ours.
void registerFactory(Factory factory, Precedence precedence = Precedence::widget);

// A gauge or a bar: a progress bar from 0 to 100 named by what it measures, the widget's
// accessible name or, when it has none, `fallbackName` of it. The percentage is its value, so a
// screen reader says it once: "CPU Load, 56 percent".
QAccessibleInterface* valueInterface(QWidget* widget, double (*fraction)(const QWidget*),
                                     QString (*fallbackName)(const QWidget*) = nullptr);

// Least time between two value changes told for one focused gauge.
inline constexpr int kValueChangeIntervalMs = 5000;

// Says `text` without moving the focus ("Copied", "Refreshed"): Qt's announcement where it has
// one (6.8), otherwise a notification of the window, shown anew with the text as its name, which
// screen readers speak when it appears.
void announce(QWidget* context, const QString& text);
// Says "Copied" for a value of `widget` just copied.
void announceCopied(QWidget* widget);
// Tells assistive technology that a gauge or bar shows a new value. Live values never
// interrupt: only a focused gauge tells, at most once every kValueChangeIntervalMs.
void valueChanged(QWidget* widget, double fraction);
// Tells it that the name of `widget` changed. A focused widget keeps quiet until the focus
// leaves (a screen reader would speak every change of the focused name), then flushName tells.
void nameChanged(QWidget* widget);
void flushName(QWidget* widget);
// Tells it that the current item of an AccessibleItems widget changed.
void currentItemChanged(QWidget* widget, int previous, int current);
// Moves the focus of assistive technology from an AccessibleItems widget to its current item,
// once the widget's own focus event is out ("Battery, selected" rather than "Pages, list").
void focusCurrentItem(QWidget* widget);

// A fraction as the whole percent assistive technology reads: 0 to 100, NaN as 0.
int percentOf(double fraction);

}  // namespace Accessible
}  // namespace orvane
