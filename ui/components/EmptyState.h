// What a card shows when there is nothing to show once reading has finished: an icon, a
// title and one line saying why, centred.
#pragma once

#include <QWidget>

#include "ui/model/Symbol.h"

namespace orvane {

class IconView;
class Text;

class EmptyState : public QWidget {
    Q_OBJECT
  public:
    EmptyState(Symbol icon, const QString& title, const QString& reason, QWidget* parent = nullptr);

    QString title() const;
    QString reason() const;
    void setTitle(const QString& title);
    void setReason(const QString& reason);

  private:
    IconView* icon_;
    Text* title_;
    Text* reason_;
};

}  // namespace orvane
