// Turns the colour names and texts of the page rules into Qt values, and a few small layout
// helpers the five pages share.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>
#include <string>

class QBoxLayout;
class QWidget;

namespace orvane {

class Text;

namespace PageStyle {

inline QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The colour a name stands for in the current scheme: the theme's named colours, "accent",
// "primary", "white"; anything else is the secondary colour.
QColor color(const std::string& name);
// A row's value colour: none (the scheme's primary colour) for "primary".
std::optional<QColor> rowColor(const std::string& name);
// Colours a text by name, following the scheme for "primary" and "secondary".
void setTextColor(Text* text, const std::string& name);

// A card heading: 15 pt semibold with 6 points below it.
void addHeading(QBoxLayout* layout, const QString& title);
// The secondary placeholder text of an empty list, centred, padded above and below.
QWidget* placeholder(const QString& text, int verticalPadding);

}  // namespace PageStyle
}  // namespace orvane
