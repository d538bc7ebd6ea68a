#include "ui/app/Messages.h"

#include <QMessageBox>

namespace orvane {

void Messages::tell(const QString& title, const QString& text) const {
    if (sink_) {
        sink_(title, text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, title, title, QMessageBox::Ok, owner_());
    box.setInformativeText(text);
    box.exec();
}

}  // namespace orvane
