// Click-to-copy for any widget: the whole frame is the hit area, the pointing hand shows
// while hovered, the tooltip reads "Click to copy", and a click puts the value on the
// clipboard and shows a "Copied!" badge above the top-trailing corner for 1.0 s.
//
// The value is also a TabStop: Enter, Space or Ctrl+C (Cmd+C) copy it like a click.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace orvane {

class CopiedBadge;
class TabStop;
namespace FocusRing {
class Overlay;
}

class Copyable : public QObject {
    Q_OBJECT
  public:
    // Timings of the badge, in milliseconds.
    static constexpr int kResetDelay = 1000;
    static constexpr int kShowDuration = 150;
    static constexpr int kHideDuration = 300;
    // The badge's offset from the target's top-trailing corner.
    static constexpr int kBadgeLift = 24;

    // Makes `target` copyable with `value`; a widget made copyable twice keeps one instance
    // and takes the new value. The instance is a child of `target`.
    static Copyable* attach(QWidget* target, const QString& value);
    // The instance attached to `target`, if any.
    static Copyable* of(const QWidget* target);
    ~Copyable() override;

    QString value() const { return value_; }
    void setValue(const QString& value) { value_ = value; }

    // What assistive technology calls the value when its widget has no accessible name set:
    // the value itself, unless the widget names it otherwise ("Label: value").
    using NameOf = QString (*)(const QWidget* target);
    void setNameOf(NameOf nameOf) { nameOf_ = nameOf; }
    QString spokenName() const;

    // Whether the badge is meant to be showing (true from a click until that click's reset).
    bool isCopied() const { return copied_; }
    // The badge while it is on screen (also while fading out); null otherwise.
    QWidget* badge() const;
    // The keyboard focus ring around the target.
    FocusRing::Overlay* focusRing() const;

    // The copyable values of `group` in reading order (the order they were laid out in).
    static QList<QWidget*> valuesIn(const QWidget* group);

    // What a click does: clear the clipboard, put the value on it, show the badge and schedule
    // its reset. A reset already scheduled is never cancelled.
    void copy();

  signals:
    void copiedChanged(bool copied);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Copyable(QWidget* target, const QString& value);
    void setCopied(bool copied);

    QPointer<QWidget> target_;
    QString value_;
    NameOf nameOf_ = nullptr;
    bool copied_ = false;
    bool pressed_ = false;
    QPointer<CopiedBadge> badge_;
    TabStop* stop_;
};

// The copyable modifier: `copyable(widget, value)`.
inline Copyable* copyable(QWidget* target, const QString& value) {
    return Copyable::attach(target, value);
}

}  // namespace orvane
