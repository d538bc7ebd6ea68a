#include "ui/widgets/PageStyle.h"
#include "ui/model/Layout.h"

#include <QBoxLayout>

#include "ui/components/TabStop.h"
#include "ui/components/Text.h"
#include "ui/paint/Theme.h"

namespace orvane::PageStyle {

void setTextColor(Text* text, Tint tint) {
    if (tint == Tint::primary)
        text->setStyle(TextStyle::primary);
    else if (tint == Tint::secondary)
        text->setStyle(TextStyle::secondary);
    else
        text->setTint(tint);
}

void addHeading(QBoxLayout* layout, const QString& title) {
    auto* heading = new Text(title, Theme::font(15, QFont::DemiBold));
    heading->setHeading(true);
    heading->setContentsMargins(0, 0, 0, Layout::headingGap);
    layout->addWidget(heading);
}

QWidget* placeholder(const QString& text, int verticalPadding) {
    auto* t = new Text(text, Theme::font(13), TextStyle::secondary);
    t->setAlignment(Qt::AlignCenter);
    t->setContentsMargins(0, verticalPadding, 0, verticalPadding);
    // What the page says in place of its values is reached like them.
    TabStop::attach(t);
    return t;
}

}  // namespace orvane::PageStyle
