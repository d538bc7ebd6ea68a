// A card's column of information rows and dividers, optionally under a heading. New lines
// update the rows in place when the shape (rows and dividers, in order) is unchanged, and
// rebuild the column otherwise.
#pragma once

#include <QWidget>
#include <vector>

#include "ui/model/PageText.h"

class QVBoxLayout;

namespace orvane {

class InfoRow;

class RowList : public QWidget {
    Q_OBJECT
  public:
    explicit RowList(const QString& heading = {}, QWidget* parent = nullptr);

    void setLines(const std::vector<PageText::Line>& lines);
    void setRows(const std::vector<PageText::Row>& rows) { setLines(PageText::withDividers(rows)); }
    const std::vector<PageText::Line>& lines() const { return lines_; }
    // The row widgets, in order (dividers left out).
    const std::vector<InfoRow*>& rowWidgets() const { return rows_; }

  private:
    void rebuild();

    QVBoxLayout* column_;
    bool built_ = false;
    std::vector<PageText::Line> lines_;
    std::vector<InfoRow*> rows_;
    std::vector<QWidget*> widgets_;
};

}  // namespace orvane
