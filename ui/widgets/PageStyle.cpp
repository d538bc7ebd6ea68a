#include "ui/widgets/PageStyle.h"

#include <QBoxLayout>

#include "ui/components/Text.h"
#include "ui/components/Theme.h"

namespace orvane::PageStyle {

QColor color(const std::string& name) {
    if (name == "accent") return Theme::accent();
    if (name == "primary") return Theme::primary();
    if (name == "white") return Qt::white;
    return Theme::color(qs(name));
}

std::optional<QColor> rowColor(const std::string& name) {
    if (name == "primary") return std::nullopt;
    return color(name);
}

void setTextColor(Text* text, const std::string& name) {
    if (name == "primary")
        text->setStyle(TextStyle::primary);
    else if (name == "secondary")
        text->setStyle(TextStyle::secondary);
    else
        text->setColor(color(name));
}

void addHeading(QBoxLayout* layout, const QString& title) {
    auto* heading = new Text(title, Theme::font(15, QFont::DemiBold));
    heading->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(heading);
}

QWidget* placeholder(const QString& text, int verticalPadding) {
    auto* t = new Text(text, Theme::font(13), TextStyle::secondary);
    t->setAlignment(Qt::AlignCenter);
    t->setContentsMargins(0, verticalPadding, 0, verticalPadding);
    return t;
}

}  // namespace orvane::PageStyle
