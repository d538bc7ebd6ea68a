#include "ui/widgets/DeviceCard.h"

#include <QHBoxLayout>

#include "ui/components/Accessible.h"
#include "ui/components/IconView.h"
#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/paint/Theme.h"
#include "ui/widgets/CapsuleBadge.h"
#include "ui/widgets/PageStyle.h"
#include "ui/widgets/RowList.h"

namespace orvane {

using PageStyle::qs;

DeviceCard::DeviceCard(QWidget* parent)
    : Card(parent),
      icon_(new IconView({}, 20)),
      name_(new Text({}, Theme::font(16, QFont::DemiBold))),
      badge_(new CapsuleBadge({}, Tint::blue, 10, QFont::Bold, 7, 2)),
      note_(new Text({}, Theme::font(12, QFont::Medium), TextStyle::secondary)),
      rows_(new RowList) {
    body()->setSpacing(2);
    auto* headerBox = new QWidget;
    auto* header = new QHBoxLayout(headerBox);
    header->setContentsMargins(0, 0, 0, 8);
    header->setSpacing(10);
    header->addWidget(icon_, 0, Qt::AlignVCenter);
    header->addWidget(name_, 0, Qt::AlignVCenter);
    header->addWidget(badge_, 0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(note_, 0, Qt::AlignVCenter);
    note_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // A long name gives way first: it wraps onto a second line, then is elided; the short
    // note beside it is never cut.
    name_->setWordWrap(true);
    name_->setMaximumLines(2);
    // The device's name heads its rows: "Studio Display, Main" before its "Resolution".
    name_->setHeading(true);
    TabStop::attach(name_)->setName(
        [this] {
            QStringList parts = {name_->text()};
            if (badge_->isVisibleTo(this)) parts << badge_->text();
            if (note_->isVisibleTo(this)) parts << note_->text();
            parts.removeAll(QString());
            return parts.join(QStringLiteral(", "));
        },
        QAccessible::Heading);
    note_->setElide(false);
    body()->addWidget(headerBox);
    body()->addWidget(rows_);
}

void DeviceCard::setGpu(const GpuCardText& t) {
    icon_->setSymbol(Symbol::cpuFill);
    icon_->setColor(Theme::accent());
    name_->setText(qs(t.name));
    badge_->setVisible(false);
    note_->setText(qs(t.coresText));
    note_->setVisible(!t.coresText.empty());
    rows_->setLines(t.lines);
    Accessible::nameChanged(name_);
}

void DeviceCard::setDisplay(const DisplayCardText& t) {
    const PageText::Badge main = DisplaysModel::mainBadge();
    icon_->setSymbol(t.icon);
    icon_->setColor(Theme::color(Tint::blue));
    name_->setText(qs(t.name));
    badge_->setText(qs(main.text));
    badge_->setTint(main.color);
    badge_->setVisible(t.mainBadge);
    note_->setVisible(false);
    rows_->setLines(t.lines);
    Accessible::nameChanged(name_);
}

}  // namespace orvane
