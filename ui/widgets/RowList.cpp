#include "ui/widgets/RowList.h"

#include <QVBoxLayout>

#include "ui/components/Divider.h"
#include "ui/components/InfoRow.h"
#include "ui/widgets/PageStyle.h"

namespace orvane {

using PageStyle::qs;

namespace {

bool sameShape(const std::vector<PageText::Line>& a, const std::vector<PageText::Line>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].divider != b[i].divider) return false;
    return true;
}

}  // namespace

RowList::RowList(const QString& heading, QWidget* parent)
    : QWidget(parent), column_(new QVBoxLayout(this)) {
    column_->setContentsMargins(0, 0, 0, 0);
    column_->setSpacing(2);
    if (!heading.isEmpty()) PageStyle::addHeading(column_, heading);
    // Rows from the top: a card made as tall as its neighbour leaves the room below them.
    column_->addStretch(1);
}

void RowList::setLines(const std::vector<PageText::Line>& lines) {
    if (built_ && lines == lines_) return;
    if (!built_ || !sameShape(lines, lines_)) {
        lines_ = lines;
        rebuild();
        return;
    }
    std::size_t r = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].divider) continue;
        const PageText::Row& row = lines[i].row;
        InfoRow* w = rows_[r++];
        w->setLabel(qs(row.label));
        w->setValue(qs(row.value));
        w->setIcon(row.icon);
        w->setValueTint(row.valueColor);
    }
    lines_ = lines;
}

void RowList::rebuild() {
    for (QWidget* w : widgets_)
        delete w;
    widgets_.clear();
    rows_.clear();
    for (const PageText::Line& line : lines_) {
        QWidget* w = nullptr;
        if (line.divider) {
            w = new Divider(this);
        } else {
            auto* row = new InfoRow(qs(line.row.label), qs(line.row.value), line.row.icon,
                                    std::nullopt, this);
            row->setValueTint(line.row.valueColor);
            rows_.push_back(row);
            w = row;
        }
        widgets_.push_back(w);
        column_->insertWidget(column_->count() - 1, w);
    }
    built_ = true;
}

}  // namespace orvane
