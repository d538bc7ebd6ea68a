#include "ui/components/EmptyState.h"

#include <QVBoxLayout>

#include "ui/components/IconView.h"
#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/paint/Theme.h"

namespace orvane {

EmptyState::EmptyState(Symbol icon, const QString& title, const QString& reason, QWidget* parent)
    : QWidget(parent) {
    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(0, 16, 0, 16);
    col->setSpacing(6);
    icon_ = new IconView(icon, 28);
    icon_->setStyle(TextStyle::secondary);  // follows a switch of appearance
    title_ = new Text(title, Theme::font(15, QFont::DemiBold));
    reason_ = new Text(reason, Theme::font(13), TextStyle::secondary);
    title_->setAlignment(Qt::AlignHCenter);
    reason_->setAlignment(Qt::AlignHCenter);
    reason_->setWordWrap(true);
    col->addWidget(icon_, 0, Qt::AlignHCenter);
    col->addWidget(title_);
    col->addWidget(reason_);
    setAccessibleName(title + QStringLiteral(". ") + reason);
    // Where a list of values would be, the keyboard stops at the reason there is none.
    TabStop::attach(this);
}

QString EmptyState::title() const {
    return title_->text();
}

QString EmptyState::reason() const {
    return reason_->text();
}

void EmptyState::setTitle(const QString& title) {
    title_->setText(title);
    setAccessibleName(title + QStringLiteral(". ") + reason());
}

void EmptyState::setReason(const QString& reason) {
    reason_->setText(reason);
    setAccessibleName(title() + QStringLiteral(". ") + reason);
}

}  // namespace orvane
