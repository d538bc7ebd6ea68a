#include "ui/widgets/PageScroll.h"

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
    stack_ = new QVBoxLayout;
    stack_->setSpacing(kSpacing);
    stack_->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(stack_);
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
