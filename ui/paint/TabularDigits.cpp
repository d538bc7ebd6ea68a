#include "ui/paint/TabularDigits.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <utility>
#include <vector>

namespace orvane {

namespace TabularDigits {
namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The widest digit of a font; the last few fonts asked about are remembered, since every
// repaint of a changing number asks again.
qreal digitWidth(const QFont& font, const QFontMetricsF& fm) {
    static std::vector<std::pair<QFont, qreal>> known;
    for (const auto& [f, w] : known)
        if (f == font) return w;
    qreal w = 0;
    for (char d = '0'; d <= '9'; ++d)
        w = std::max(w, fm.horizontalAdvance(QLatin1Char(d)));
    if (known.size() >= 8) known.erase(known.begin());
    known.emplace_back(font, w);
    return w;
}

// Calls `run(text, isDigit)` for each run of digits or of other characters, in order.
template <class Fn>
void forEachRun(const QString& text, Fn run) {
    qsizetype start = 0;
    for (qsizetype i = 1; i <= text.size(); ++i) {
        if (i == text.size() || isDigit(text[i]) != isDigit(text[start])) {
            run(text.mid(start, i - start), isDigit(text[start]));
            start = i;
        }
    }
}

}  // namespace

qreal advance(const QFont& font, const QString& text) {
    const QFontMetricsF fm(font);
    const qreal cell = digitWidth(font, fm);
    qreal total = 0;
    forEachRun(text, [&](const QString& run, bool digits) {
        total += digits ? cell * run.size() : fm.horizontalAdvance(run);
    });
    return total;
}

void draw(QPainter& painter, const QRectF& rect, Qt::Alignment align, const QString& text) {
    const QFontMetricsF fm(painter.font());
    const qreal cell = digitWidth(painter.font(), fm);
    const qreal total = advance(painter.font(), text);
    qreal x = rect.left();
    if (align & Qt::AlignRight) x = rect.right() - total;
    if (align & Qt::AlignHCenter) x = rect.center().x() - total / 2;
    const int v = static_cast<int>(align & Qt::AlignVertical_Mask);
    forEachRun(text, [&](const QString& run, bool digits) {
        if (!digits) {
            const qreal w = fm.horizontalAdvance(run);
            painter.drawText(QRectF(x, rect.top(), w + 1, rect.height()), Qt::AlignLeft | v, run);
            x += w;
            return;
        }
        for (QChar d : run) {
            painter.drawText(QRectF(x, rect.top(), cell, rect.height()), Qt::AlignHCenter | v, d);
            x += cell;
        }
    });
}

}  // namespace TabularDigits

}  // namespace orvane
