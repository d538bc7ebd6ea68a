// The sidebar's page list: one row per section, its icon in the section's tint and its title;
// exactly one row is selected. Arrow keys move the selection.
#pragma once

#include <QWidget>
#include <optional>

#include "ui/components/Accessible.h"
#include "ui/shell/Section.h"

namespace orvane {

class SidebarList : public QWidget, public AccessibleItems {
    Q_OBJECT
  public:
    static constexpr int kRowHeight = 30;
    static constexpr int kRowPadding = 2;
    static constexpr int kInset = 10;

    explicit SidebarList(QWidget* parent = nullptr);

    Section selection() const { return selection_; }
    void setSelection(Section section);
    // The rectangle of a section's row.
    QRect rowRect(Section section) const;
    // The section whose row holds `pos`, if any.
    std::optional<Section> sectionAt(const QPoint& pos) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // A list of the pages, the shown one selected.
    QAccessible::Role accessibleItemRole() const override { return QAccessible::ListItem; }
    int accessibleItemCount() const override;
    QString accessibleItemName(int index) const override;
    QRect accessibleItemRect(int index) const override;
    int accessibleCurrentItem() const override;
    void activateAccessibleItem(int index) override;

  signals:
    void selectionChanged(orvane::Section section);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Assistive technology hears the current item, not only the whole.
    void focusInEvent(QFocusEvent* event) override;

  private:
    Section selection_ = Section::overview;
    std::optional<Section> hovered_;
};

}  // namespace orvane
