// A segmented control: one segment per option (an icon and a label), exactly one chosen.
#pragma once

#include <QList>
#include <QWidget>

#include "ui/components/Accessible.h"
#include "ui/model/Symbol.h"

namespace orvane {

class SegmentedPicker : public QWidget, public AccessibleItems {
    Q_OBJECT
  public:
    struct Option {
        QString key;  // what the picker reports
        QString label;
        Symbol symbol = Symbol::none;
    };

    explicit SegmentedPicker(const QList<Option>& options, QWidget* parent = nullptr);

    QString currentKey() const;
    int currentIndex() const { return current_; }
    // Selects the option with `key` without reporting it; unknown keys select nothing.
    void setCurrentKey(const QString& key);
    const QList<Option>& options() const { return options_; }
    QRect segmentRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // A group of radio buttons, the chosen one checked.
    QAccessible::Role accessibleItemRole() const override { return QAccessible::RadioButton; }
    int accessibleItemCount() const override { return static_cast<int>(options_.size()); }
    QString accessibleItemName(int index) const override { return options_[index].label; }
    QRect accessibleItemRect(int index) const override { return segmentRect(index); }
    int accessibleCurrentItem() const override { return current_; }
    void activateAccessibleItem(int index) override { choose(index); }

  signals:
    // The user chose an option.
    void chosen(const QString& key);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Assistive technology hears the current item, not only the whole.
    void focusInEvent(QFocusEvent* event) override;

  private:
    void choose(int index);

    QList<Option> options_;
    int current_ = -1;
    int hovered_ = -1;
};

}  // namespace orvane
