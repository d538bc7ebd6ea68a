// A place the keyboard stops at: Tab and Shift+Tab reach it in reading order, it shows the
// focus ring while the focus came from the keyboard, and the arrow keys move to the previous or
// next stop of the same card. Every copyable value is a stop; so is every value that is read
// but not copied (a gauge, a badge, a page's or a device's heading), which assistive
// technology then hears as "Label: value".
#pragma once

#include <QAccessible>
#include <QList>
#include <QMargins>
#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

namespace orvane {

namespace FocusRing {
class Overlay;
}

class TabStop : public QObject {
    Q_OBJECT
  public:
    // Whether the arrow keys move between stops, or belong to the widget (a list of its own,
    // which also draws its own focus, on its current item).
    enum class Arrows { move, own };

    // Makes `target` a stop; a widget made a stop twice keeps one instance. The instance is a
    // child of `target`.
    static TabStop* attach(QWidget* target, Arrows arrows = Arrows::move);
    static TabStop* of(const QWidget* target);

    // The stops of `group` that are shown, in reading order (the order they were laid out in).
    static QList<QWidget*> stopsIn(const QWidget* group);
    // Gives `stop` the keyboard focus and scrolls it into view.
    static void focus(QWidget* stop, Qt::FocusReason reason);

    // What assistive technology reads at this stop, for a widget that does not say it itself
    // (a value under its label: "Cycle Count: 212"), and its role. Read when asked, so a value
    // that changes every second never sends a change of name.
    using NameOf = std::function<QString()>;
    void setName(NameOf nameOf, QAccessible::Role role = QAccessible::StaticText);
    bool hasName() const { return bool(nameOf_); }
    QString name() const { return nameOf_ ? nameOf_() : QString(); }
    QAccessible::Role role() const { return role_; }

    // Null where the widget draws its own focus.
    FocusRing::Overlay* focusRing() const { return ring_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TabStop(QWidget* target, Arrows arrows);
    // The arrow keys: the stop `step` places on in the same card, if any.
    void moveFocus(int step);

    QWidget* target_;
    Arrows arrows_;
    NameOf nameOf_;
    QAccessible::Role role_ = QAccessible::StaticText;
    FocusRing::Overlay* ring_ = nullptr;
};

}  // namespace orvane
