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
    // A last line of a single word while the line before holds more: that line gives its
    // last word too, when both then fit (never a separator to the start of a line).
    if (ranges.size() >= 2 && (maxLines == 0 || ranges.size() <= maxLines)) {
        const auto breaksIn = [](const QString& s) {
            return s.contains(QLatin1Char(' ')) || s.contains(QLatin1Char('-'));
        };
        const int before = ranges[ranges.size() - 2].first;
        const int start = ranges.back().first, end = start + ranges.back().second;
        const QFontMetricsF fm(font);
        if (!breaksIn(prepared.mid(start, end - start).trimmed()) &&
            breaksIn(prepared.mid(before, start - before).trimmed())) {
            for (int p = start - 1; p > before; --p) {
                const QChar c = prepared.at(p - 1);
                if ((c != QLatin1Char(' ') && c != QLatin1Char('-')) || prepared.at(p).isSpace())
                    continue;
                if (QStringLiteral("\u00b7\u2013\u2014/:|").contains(prepared.at(p))) break;
                if (fm.horizontalAdvance(prepared.mid(p, end - p).trimmed()) > width) break;
                ranges[ranges.size() - 2].second = p - before;
                ranges.back() = {p, end - p};
                break;
            }
        }
    }

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
