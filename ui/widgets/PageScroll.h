// The skeleton every page shares: a vertical scroll view holding a centred stack with
// spacing 18 and padding 22, at most Layout::contentMaximumWidth wide. Content added to stack()
// lines up from the top.
#pragma once

#include <QScrollArea>

#include "ui/model/Layout.h"

class QVBoxLayout;

namespace orvane {

class PageScroll : public QScrollArea {
    Q_OBJECT
  public:
    static constexpr int kSpacing = Layout::cardSpacing;
    static constexpr int kPadding = Layout::pagePadding;

    explicit PageScroll(QWidget* parent = nullptr);

    QVBoxLayout* stack() const { return stack_; }
    // The column the stack fills: the content's width less the padding, capped and centred.
    QWidget* column() const { return column_; }
    // Fills `page` with this scroll view, edge to edge.
    static PageScroll* install(QWidget* page);

  private:
    QWidget* column_;
    QVBoxLayout* stack_;
};

}  // namespace orvane
