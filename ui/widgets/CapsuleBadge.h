// A short word on a capsule filled with its own colour at a low opacity ("Main", "Startup",
// a battery's condition, the banner's pills).
#pragma once

#include <QFont>
#include <QWidget>
#include <string>

namespace orvane {

class CapsuleBadge : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("accessibleRole", "StaticText")
  public:
    CapsuleBadge(const QString& text, const std::string& colorName, qreal pointSize,
                 QFont::Weight weight, int padX, int padY, qreal fillOpacity = 0.15,
                 QWidget* parent = nullptr);

    QString text() const { return text_; }
    std::string colorName() const { return colorName_; }
    void setText(const QString& text);
    void setColorName(const std::string& name);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    std::string colorName_;
    QFont font_;
    int padX_, padY_;
    qreal fillOpacity_;
};

}  // namespace orvane
