// Turns the tints and texts of the page rules into Qt values, and a few small layout helpers
// the five pages share.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>
#include <string>

#include "ui/paint/Theme.h"

class QBoxLayout;
class QWidget;

namespace orvane {

class Text;

namespace PageStyle {

inline QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Colours a text, following the scheme for Tint::primary and Tint::secondary.
void setTextColor(Text* text, Tint tint);

// A card heading: 15 pt semibold with 6 points below it.
void addHeading(QBoxLayout* layout, const QString& title);
// The secondary placeholder text of an empty list, centred, padded above and below.
QWidget* placeholder(const QString& text, int verticalPadding);

}  // namespace PageStyle
}  // namespace orvane
