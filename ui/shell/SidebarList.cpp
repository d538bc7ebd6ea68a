#include "ui/shell/SidebarList.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/components/FocusRing.h"
#include "ui/paint/Icon.h"
#include "ui/paint/Theme.h"

namespace orvane {
namespace {
int indexOf(Section s) {
    const auto& all = allSections();
    return static_cast<int>(std::find(all.begin(), all.end(), s) - all.begin());
}
}  // namespace

SidebarList::SidebarList(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Our interfaces first: naming the widget makes Qt create (and keep) its interface.
    Accessible::install();
    setAccessibleName(tr("Pages"));
    FocusRing::track(this);
}

void SidebarList::setSelection(Section section) {
    if (section == selection_) return;
    const int before = indexOf(selection_);
    selection_ = section;
    update();
    Accessible::currentItemChanged(this, before, indexOf(section));
    emit selectionChanged(section);
}

void SidebarList::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    Accessible::focusCurrentItem(this);
}

QRect SidebarList::rowRect(Section section) const {
    const int i = indexOf(section);
    return QRect(kInset, i * (kRowHeight + 2 * kRowPadding) + kRowPadding, width() - 2 * kInset,
                 kRowHeight);
}

std::optional<Section> SidebarList::sectionAt(const QPoint& pos) const {
    for (Section s : allSections()) {
        if (rowRect(s).contains(pos)) return s;
    }
    return std::nullopt;
}

QSize SidebarList::sizeHint() const {
    return {180, static_cast<int>(allSections().size()) * (kRowHeight + 2 * kRowPadding)};
}

void SidebarList::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFont font = Theme::font(13, QFont::Medium);
    const QFontMetrics fm(font);
    p.setFont(font);
    for (Section s : allSections()) {
        const QRect r = rowRect(s);
        const bool selected = s == selection_;
        if (selected) {
            // A soft accent wash, so every icon keeps its own tint on it.
            QColor fill = Theme::accent();
            fill.setAlphaF(Theme::sidebarSelectionOpacity());
            p.fillPath(Theme::continuousRect(QRectF(r), 8), fill);
        } else if (hovered_ == s) {
            p.fillPath(Theme::continuousRect(QRectF(r), 8), Theme::primary(0.06));
        }
        const qreal box = Icon::boxSize(14);
        const QRectF iconRect(r.left() + 10, r.center().y() + 1 - box / 2, box, box);
        Icon::paint(p, iconRect, symbol(s), tint(s), QFont::Medium);
        const int textX = static_cast<int>(iconRect.right()) + 9;
        p.setPen(Theme::primary());
        p.drawText(QRect(textX, r.top(), r.right() - textX - 6, r.height()),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(title(s), Qt::ElideRight, r.right() - textX - 6));
        if (selected && FocusRing::shown(this)) FocusRing::paint(p, QRectF(r), 8);
    }
}

int SidebarList::accessibleItemCount() const {
    return static_cast<int>(allSections().size());
}

QString SidebarList::accessibleItemName(int index) const {
    return title(allSections()[index]);
}

QRect SidebarList::accessibleItemRect(int index) const {
    return rowRect(allSections()[index]);
}

int SidebarList::accessibleCurrentItem() const {
    return indexOf(selection_);
}

void SidebarList::activateAccessibleItem(int index) {
    if (index >= 0 && index < accessibleItemCount()) setSelection(allSections()[index]);
}

void SidebarList::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (auto s = sectionAt(event->position().toPoint())) setSelection(*s);
}

void SidebarList::mouseMoveEvent(QMouseEvent* event) {
    const auto s = sectionAt(event->position().toPoint());
    if (s != hovered_) {
        hovered_ = s;
        update();
    }
}

void SidebarList::leaveEvent(QEvent*) {
    if (hovered_) {
        hovered_.reset();
        update();
    }
}

void SidebarList::keyPressEvent(QKeyEvent* event) {
    const auto& all = allSections();
    const int i = indexOf(selection_);
    if (event->key() == Qt::Key_Up && i > 0) {
        setSelection(all[i - 1]);
    } else if (event->key() == Qt::Key_Down && i + 1 < static_cast<int>(all.size())) {
        setSelection(all[i + 1]);
    } else if (event->key() == Qt::Key_Home) {
        setSelection(all.front());
    } else if (event->key() == Qt::Key_End) {
        setSelection(all.back());
    } else {
        QWidget::keyPressEvent(event);
    }
}

}  // namespace orvane
