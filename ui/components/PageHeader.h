// The title block at the top of a page: a tinted icon tile, the title and a one-line subtitle.
#pragma once

#include <QColor>
#include <QWidget>

#include "ui/paint/Theme.h"

#include "ui/model/Symbol.h"

namespace orvane {

class PageHeader : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTileSize = 46;
    static constexpr int kTileRadius = 12;
    static constexpr int kSpacing = 14;

    PageHeader(const QString& title, const QString& subtitle, Symbol symbol,
               const QColor& tint = Theme::accent(), QWidget* parent = nullptr);

    QString title() const { return title_; }
    QString subtitle() const { return subtitle_; }
    Symbol symbol() const { return symbol_; }
    QColor tint() const { return tint_; }
    void setTitle(const QString& title);
    void setSubtitle(const QString& subtitle);
    void setSymbol(Symbol symbol);
    void setTint(const QColor& tint);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString title_, subtitle_;
    Symbol symbol_;
    QColor tint_;
};

}  // namespace orvane
