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
    const auto breakAt = [&](qreal w) {
        QList<QPair<int, int>> ranges;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max<qreal>(w, 1));
            ranges.append({line.textStart(), line.textLength()});
        }
        layout.endLayout();
        return ranges;
    };
    QList<QPair<int, int>> ranges = breakAt(width);
    // A last line of a single word (no break inside it) while the line before holds more than
    // one: the narrowest width that keeps the number of lines balances them.
    const auto widow = [&](const QList<QPair<int, int>>& r) {
        if (r.size() < 2 || (maxLines > 0 && r.size() > maxLines)) return false;
        const QString last = prepared.mid(r.back().first, r.back().second).trimmed();
        const QString before = prepared.mid(r[r.size() - 2].first, r[r.size() - 2].second);
        const auto breaks = [](const QString& s) {
            return s.contains(QLatin1Char(' ')) || s.contains(QLatin1Char('-'));
        };
        return !breaks(last) && breaks(before.trimmed());
    };
    if (widow(ranges)) {
        qreal lo = 1, hi = width;
        for (int step = 0; step < 10 && hi - lo > 1; ++step) {
            const qreal mid = (lo + hi) / 2;
            const auto tried = breakAt(mid);
            // Narrower only while nothing breaks inside a word (a line's end is a break).
            bool clean = tried.size() == ranges.size();
            for (int i = 0; clean && i + 1 < tried.size(); ++i) {
                const int end = tried[i].first + tried[i].second;
                const QChar at = prepared.at(end - 1);
                clean = at.isSpace() || at == QLatin1Char('-');
            }
            (clean ? hi : lo) = mid;
        }
        ranges = breakAt(hi);
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
