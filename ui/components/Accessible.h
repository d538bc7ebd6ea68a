// What assistive technology (AT-SPI on Linux, VoiceOver on a Mac) learns about our painted
// widgets through Qt's accessibility interfaces: copyable values are buttons named
// "Label: value" that copy when pressed, gauges and bars expose their value in percent, and
// the sidebar and the appearance picker expose their items.
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

// Installs our interfaces with Qt (once; every component that has one calls this).
void install();

// Tells assistive technology that the value of `widget` was copied: an announcement where Qt
// has them, otherwise a change of the name, which then ends in ", Copied" while the badge shows.
void announceCopied(QWidget* widget, bool copied);
// Tells it that a gauge or bar shows a new value.
void valueChanged(QWidget* widget, double fraction);
// Tells it that the current item of an AccessibleItems widget changed.
void currentItemChanged(QWidget* widget, int previous, int current);

// A fraction as the whole percent assistive technology reads: 0 to 100, NaN as 0.
int percentOf(double fraction);

}  // namespace Accessible
}  // namespace orvane
