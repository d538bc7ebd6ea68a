#include "ui/components/Copyable.h"

#include <QAccessibleWidget>
#include <QClipboard>
#include <QCoreApplication>
#include <QEasingCurve>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QVariantAnimation>

#include "ui/components/Accessible.h"
#include "ui/components/TabStop.h"
#include "ui/paint/Theme.h"

namespace orvane {
namespace {

// A copyable value: a button (pressing copies) named by its widget ("Label: value").
class CopyableInterface : public QAccessibleWidget {
  public:
    explicit CopyableInterface(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        const Copyable* c = Copyable::of(widget());
        if (t == QAccessible::Name) {
            // A name set on the widget wins.
            QString name = widget()->accessibleName();
            if (name.isEmpty() && c) name = c->spokenName();
            return name;
        }
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return QCoreApplication::translate("orvane::Accessible", "Click to copy");
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action != pressAction()) return;
        if (Copyable* c = Copyable::of(widget())) c->copy();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* copyableInterface(QWidget* w) {
    return Copyable::of(w) ? new CopyableInterface(w) : nullptr;
}

}  // namespace

// The "Copied!" capsule. A child of the target's window so it can sit above the target; it
// ignores the mouse, so it never blocks what lies beneath.
class CopiedBadge : public QWidget {
  public:
    CopiedBadge(QWidget* target)
        : QWidget(target->window()), target_(target), anim_(new QVariantAnimation(this)) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        font_ = Theme::font(11, QFont::Medium);
        const QFontMetrics fm(font_);
        // Padded 8 left and right, 4 above and below, never truncated.
        resize(fm.horizontalAdvance(text()) + 16, fm.height() + 8);
        connect(anim_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            progress_ = v.toReal();
            place();
            update();
        });
        connect(anim_, &QVariantAnimation::finished, this, [this] {
            if (progress_ <= 0) deleteLater();
        });
    }

    static QString text() { return Copyable::tr("Copied!"); }

    void appear() { animateTo(1.0, Copyable::kShowDuration, QEasingCurve::OutCubic); }
    void disappear() { animateTo(0.0, Copyable::kHideDuration, QEasingCurve::InCubic); }
    bool leaving() const { return leaving_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setOpacity(progress_);
        p.fillPath(Theme::capsule(QRectF(rect())), QColor::fromRgbF(0, 0, 0, 0.82));
        p.setPen(Qt::white);
        p.setFont(font_);
        p.drawText(rect(), Qt::AlignCenter, text());
    }

  private:
    void animateTo(qreal end, int duration, QEasingCurve::Type curve) {
        leaving_ = end <= 0;
        anim_->stop();
        if (!Theme::animationsEnabled()) {
            progress_ = end;
            place();
            if (leaving_) {
                deleteLater();
            } else {
                show();
                raise();
                update();
            }
            return;
        }
        anim_->setStartValue(progress_);
        anim_->setEndValue(end);
        anim_->setDuration(duration);
        anim_->setEasingCurve(curve);
        place();
        show();
        raise();
        anim_->start();
    }

    // Top-trailing corner of the target, lifted by kBadgeLift; while fading, slid down by up
    // to its own height (inserted and removed with a slide from the bottom edge).
    void place() {
        if (!target_ || !parentWidget()) return;
        const QPoint corner = target_->mapTo(parentWidget(), QPoint(target_->width(), 0));
        const int slide = static_cast<int>(std::lround((1.0 - progress_) * height() * 0.6));
        move(corner.x() - width(), corner.y() - Copyable::kBadgeLift + slide);
    }

    QPointer<QWidget> target_;
    QVariantAnimation* anim_;
    QFont font_;
    qreal progress_ = 0;
    bool leaving_ = false;
};

Copyable::Copyable(QWidget* target, const QString& value)
    : QObject(target), target_(target), value_(value) {
    setObjectName(QStringLiteral("orvane.copyable"));
    // The stop first: its arrow keys come after the copy keys here.
    stop_ = TabStop::attach(target);
    target->installEventFilter(this);
    target->setCursor(Qt::PointingHandCursor);
    target->setToolTip(tr("Click to copy"));
    target->setAttribute(Qt::WA_Hover);
    Accessible::registerFactory(copyableInterface, Accessible::Precedence::attached);
}

FocusRing::Overlay* Copyable::focusRing() const {
    return stop_->focusRing();
}

QString Copyable::spokenName() const {
    return nameOf_ && target_ ? nameOf_(target_) : value_;
}

Copyable::~Copyable() {
    // The badge lives in the window; it goes with the widget it belongs to.
    delete badge_.data();
}

Copyable* Copyable::attach(QWidget* target, const QString& value) {
    if (!target) return nullptr;
    if (Copyable* existing = of(target)) {
        existing->setValue(value);
        return existing;
    }
    return new Copyable(target, value);
}

Copyable* Copyable::of(const QWidget* target) {
    if (!target) return nullptr;
    return target->findChild<Copyable*>(QStringLiteral("orvane.copyable"),
                                        Qt::FindDirectChildrenOnly);
}

QWidget* Copyable::badge() const {
    return badge_.data();
}

QList<QWidget*> Copyable::valuesIn(const QWidget* group) {
    QList<QWidget*> values;
    if (!group) return values;
    // Children are found depth first in the order they were added, which is reading order.
    for (QWidget* w : group->findChildren<QWidget*>())
        if (of(w) && w->isVisibleTo(group->window())) values.append(w);
    return values;
}

void Copyable::copy() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(value_);
    setCopied(true);
    QTimer::singleShot(kResetDelay, this, [this] { setCopied(false); });
}

void Copyable::setCopied(bool copied) {
    if (copied == copied_) return;
    copied_ = copied;
    if (copied) {
        if (!badge_ && target_ && target_->window() != target_) badge_ = new CopiedBadge(target_);
        if (badge_) badge_->appear();
    } else if (badge_) {
        badge_->disappear();
    }
    if (target_ && copied) Accessible::announceCopied(target_);
    emit copiedChanged(copied);
}

bool Copyable::eventFilter(QObject* watched, QEvent* event) {
    if (watched != target_) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton) {
                pressed_ = true;
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton && pressed_) {
                pressed_ = false;
                if (target_->rect().contains(me->position().toPoint())) copy();
                return true;
            }
            break;
        }
        case QEvent::MouseButtonDblClick:
            // A double click is two clicks; the second press arrives as this event.
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                pressed_ = true;
                return true;
            }
            break;
        case QEvent::KeyPress: {
            auto* ke = static_cast<QKeyEvent*>(event);
            const int key = ke->key();
            if (ke->matches(QKeySequence::Copy) ||
                ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
                 !(ke->modifiers() & ~Qt::KeypadModifier))) {
                copy();
                return true;
            }
            break;
        }
        default:
            break;
    }
    return false;
}

}  // namespace orvane
