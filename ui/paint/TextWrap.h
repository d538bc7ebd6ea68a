#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace orvane {

// Wrapping that breaks where a reader expects: a number stays with its unit ("17.18 GB"),
// "of" goes to the line of what follows it, a word longer than the line breaks anywhere, and a
// last line of one word takes a word more from the line before ("Fedora / Linux 40", not
// "Fedora Linux / 40").
namespace TextWrap {
// The lines of `text` laid out in `width`; with `maxLines` (0: no limit) the last line kept
// ends in an ellipsis when more would follow.
QStringList lines(const QString& text, const QFont& font, qreal width, int maxLines = 0);
}  // namespace TextWrap

}  // namespace orvane
