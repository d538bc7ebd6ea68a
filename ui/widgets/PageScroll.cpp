#include "ui/widgets/PageScroll.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace orvane {

PageScroll::PageScroll(QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The window background shows through the page.
    viewport()->setAutoFillBackground(false);
    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    auto* outer = new QVBoxLayout(content);
    outer->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    outer->setSpacing(0);
    column_ = new QWidget;
    column_->setMaximumWidth(Layout::contentMaximumWidth);
    column_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    stack_ = new QVBoxLayout(column_);
    stack_->setSpacing(kSpacing);
    stack_->setContentsMargins(0, 0, 0, 0);
    // Centred by stretches on either side: an aligned item would lose its height for width.
    auto* centre = new QHBoxLayout;
    centre->setSpacing(0);
    centre->addStretch(1);
    centre->addWidget(column_, 1000);
    centre->addStretch(1);
    outer->addLayout(centre);
    outer->addStretch(1);
    setWidget(content);
}

PageScroll* PageScroll::install(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* scroll = new PageScroll(page);
    layout->addWidget(scroll);
    return scroll;
}

}  // namespace orvane
