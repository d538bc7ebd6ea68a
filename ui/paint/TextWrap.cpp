#include "ui/paint/TextWrap.h"

#include <QFontMetrics>
#include <QRegularExpression>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace orvane {

namespace TextWrap {

QStringList lines(const QString& text, const QFont& font, qreal width, int maxLines) {
    // Numbers keep their units and "of" keeps what follows it: no-break spaces there.
    static const QRegularExpression unit(QStringLiteral("(?<=\\d) (?=[A-Za-z\u00b0%])"));
    static const QRegularExpression of(QStringLiteral("(?<=\\bof) "));
    QString prepared = text;
    prepared.replace(unit, QStringLiteral("\u00a0")).replace(of, QStringLiteral("\u00a0"));

    QTextLayout layout(prepared, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QList<QPair<int, int>> ranges;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max<qreal>(width, 1));
        ranges.append({line.textStart(), line.textLength()});
    }
    layout.endLayout();

    QStringList out;
    for (int i = 0; i < ranges.size(); ++i) {
        if (maxLines > 0 && i == maxLines - 1 && ranges.size() > maxLines) {
            const QString rest = prepared.mid(ranges[i].first).trimmed();
            out << QFontMetrics(font).elidedText(rest, Qt::ElideRight,
                                                 static_cast<int>(std::floor(width)));
            break;
        }
        out << prepared.mid(ranges[i].first, ranges[i].second).trimmed();
    }
    for (QString& line : out)
        line.replace(QChar(0x00a0), QLatin1Char(' '));
    if (out.isEmpty()) out << QString();
    return out;
}

}  // namespace TextWrap

}  // namespace orvane
